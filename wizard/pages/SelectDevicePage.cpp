#include "wizard/pages/SelectDevicePage.h"
#include "wizard/pages/PageSetUp.h"

SelectDevicePage::SelectDevicePage()
    : WizardPage ("Found Devices", "Select a device to be updated")
{
    PageSetUp::addLabel (*this, deviceLabel, "Select a device");
    PageSetUp::addChoiceList (*this, deviceCombo, *this);

    setSize (400, 200);
}

void SelectDevicePage::setDeviceNames (const juce::StringArray& names)
{
    deviceCombo.clear();
    deviceCombo.addItemList (names, 1);

    if (deviceCombo.getNumItems() == 1)
        deviceCombo.setSelectedItemIndex (0);
}

int SelectDevicePage::getSelectedDeviceIndex() const
{
    return deviceCombo.getSelectedItemIndex();
}

void SelectDevicePage::paint (juce::Graphics& g)
{
    PageSetUp::fillBackground (g);
}

void SelectDevicePage::resized()
{
    deviceLabel.setBounds (40, 64, 104, 24);
    deviceCombo.setBounds (144, 64, 224, 24);
}

void SelectDevicePage::comboBoxChanged (juce::ComboBox* comboBox)
{
    if (comboBox == &deviceCombo)
        sendChangeMessage();
}
