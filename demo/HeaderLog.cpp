#include "demo/HeaderLog.h"

HeaderLog::HeaderLog (WizardComponent& wizardToWatch, Callback callback)
    : wizard (wizardToWatch),
      headerShown (std::move (callback))
{
    // The wizard shows its first page as it is built, so there is always a page whose
    // parent is the frame's page area.
    pageArea = wizard.currentPage()->getParentComponent();
    pageArea->addComponentListener (this);
    follow (wizard.currentPage());
}

HeaderLog::~HeaderLog()
{
    if (pageArea != nullptr)
        pageArea->removeComponentListener (this);

    if (followed != nullptr)
        followed->removeChangeListener (this);
}

void HeaderLog::componentChildrenChanged (juce::Component&)
{
    follow (wizard.currentPage());
}

void HeaderLog::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (followed != nullptr && source == followed)
        tell (*followed);
}

void HeaderLog::follow (WizardPage* page)
{
    // The frame empties its page area before it puts the next page in.
    if (page == nullptr || page == followed)
        return;

    if (followed != nullptr)
        followed->removeChangeListener (this);

    followed = page;
    followed->addChangeListener (this);
    lastCaption = {};
    lastDescription = {};
    tell (*followed);
}

void HeaderLog::tell (const WizardPage& page)
{
    if (page.caption == lastCaption && page.description == lastDescription)
        return;

    lastCaption = page.caption;
    lastDescription = page.description;
    headerShown (lastCaption, lastDescription);
}
