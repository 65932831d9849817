#include "wizard/WizardPage.h"

WizardPage::WizardPage (juce::String captionToUse, juce::String descriptionToUse)
    : caption (std::move (captionToUse)),
      description (std::move (descriptionToUse))
{
}

void WizardPage::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
}
