#pragma once

#include "catalogue/TargetRevision.h"
#include "wizard/WizardPage.h"
#include "wizard/pages/ReleaseNotesLink.h"

/** Lists the firmware revisions the chosen device may be updated to and links to
    the release notes of the one picked.

    Item i of the list (counting from 0) stands for the i-th revision given and has
    the id i + 1. The page borrows the revisions: whoever fills it keeps them alive
    until it fills the page again. Message thread only.
*/
class SelectUpdatePage : public WizardPage,
                         public juce::ComboBox::Listener
{
public:
    SelectUpdatePage();

    /** Replaces the list with these revisions, in order. A single revision is selected
        at once, and that selection is announced like a choice of the user's.
    */
    void setRevisions (const juce::Array<const TargetRevision*>& revisionsToOffer);

    /** The selected revision, or nullptr when nothing is selected. */
    const TargetRevision* getSelectedRevision() const;

    void paint (juce::Graphics&) override;
    void resized() override;
    void comboBoxChanged (juce::ComboBox*) override;

private:
    void showReleaseNotesLinkFor (int selectedIndex);

    juce::Array<const TargetRevision*> revisions;
    juce::ComboBox versionCombo;
    juce::Label versionLabel { "new label" };
    ReleaseNotesLink releaseNotesLink;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SelectUpdatePage)
};
