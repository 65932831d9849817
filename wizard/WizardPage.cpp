#include "wizard/WizardPage.h"

WizardPage::WizardPage (juce::String captionToUse, juce::String descriptionToUse)
    : caption (std::move (captionToUse)),
      description (std::move (descriptionToUse))
{
    // The frame decides whether the page shows the wait cursor.
    setMouseCursor (juce::MouseCursor::ParentCursor);
}

void WizardPage::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
}
