#pragma once

#include "wizard/WizardPage.h"

/** Lists the devices that the scan found and lets the user pick the one to update.

    Item i of the list (counting from 0) has the id i + 1, so the selected index is
    the index into the caller's device list; the page keeps no devices itself.
    Message thread only.
*/
class SelectDevicePage : public WizardPage,
                         public juce::ComboBox::Listener
{
public:
    SelectDevicePage();

    /** Replaces the list with these display names, in order. A single name is selected
        at once, and that selection is announced like a choice of the user's.
    */
    void setDeviceNames (const juce::StringArray& names);

    /** The selected index into the names last given, or -1 when nothing is selected. */
    int getSelectedDeviceIndex() const;

    void paint (juce::Graphics&) override;
    void resized() override;
    void comboBoxChanged (juce::ComboBox*) override;

private:
    juce::Label deviceLabel;
    juce::ComboBox deviceCombo;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SelectDevicePage)
};
