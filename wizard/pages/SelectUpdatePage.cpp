#include "wizard/pages/SelectUpdatePage.h"
#include "wizard/pages/PageSetUp.h"

SelectUpdatePage::SelectUpdatePage()
    : WizardPage ("Updates are Available", "Select a firmware version for your device")
{
    PageSetUp::addChoiceList (*this, versionCombo, *this);
    PageSetUp::addLabel (*this, versionLabel, "Select new version");

    addAndMakeVisible (releaseNotesLink);
    releaseNotesLink.setVisible (false);

    setSize (400, 200);
}

void SelectUpdatePage::setRevisions (const juce::Array<const TargetRevision*>& revisionsToOffer)
{
    revisions.clearQuick();
    versionCombo.clear();
    revisions.addArray (revisionsToOffer);

    for (int i = 0; i < revisions.size(); ++i)
        versionCombo.addItem (revisions[i]->version + " (" + revisions[i]->releaseDate + ")", i + 1);

    if (versionCombo.getNumItems() == 1)
        versionCombo.setSelectedItemIndex (0);
}

const TargetRevision* SelectUpdatePage::getSelectedRevision() const
{
    return revisions[versionCombo.getSelectedItemIndex()];
}

void SelectUpdatePage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void SelectUpdatePage::resized()
{
    versionCombo.setBounds (168, 64, 192, 24);
    versionLabel.setBounds (40, 64, 128, 24);
    releaseNotesLink.setBounds (32, 104, 150, 24);
}

void SelectUpdatePage::comboBoxChanged (juce::ComboBox* comboBox)
{
    if (comboBox != &versionCombo)
        return;

    sendChangeMessage();
    showReleaseNotesLinkFor (versionCombo.getSelectedItemIndex());
}

void SelectUpdatePage::showReleaseNotesLinkFor (int selectedIndex)
{
    const auto* revision = revisions[selectedIndex];
    releaseNotesLink.showAddress (revision != nullptr ? revision->releaseNotesUrl : juce::String());
}
