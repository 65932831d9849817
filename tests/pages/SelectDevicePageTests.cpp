#include <gtest/gtest.h>

#include "tests/support/ChangeCounter.h"
#include "tests/support/ComponentFinder.h"
#include "tests/support/JucePrinters.h"
#include "tests/support/MessageLoop.h"
#include "wizard/pages/SelectDevicePage.h"

using ComponentFinder::child;

namespace
{
    juce::ComboBox& deviceCombo (SelectDevicePage& page) { return child<juce::ComboBox> (page, 1); }
}

TEST (SelectDevicePage, CarriesItsCaptionDescriptionAndChildren)
{
    SelectDevicePage page;

    EXPECT_EQ (page.caption, "Found Devices");
    EXPECT_EQ (page.description, "Select a device to be updated");
    ASSERT_EQ (page.getNumChildComponents(), 2);

    auto& label = child<juce::Label> (page, 0);
    EXPECT_EQ (label.getName(), "");
    EXPECT_EQ (label.getText(), "Select a device");
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (40, 64, 104, 24));

    auto& combo = deviceCombo (page);
    EXPECT_EQ (combo.getName(), "");
    EXPECT_FALSE (combo.isTextEditable());
    EXPECT_EQ (combo.getJustificationType(), juce::Justification (juce::Justification::centredLeft));
    EXPECT_EQ (combo.getTextWhenNothingSelected(), "(select)");
    EXPECT_EQ (combo.getTextWhenNoChoicesAvailable(), "(no choices)");
    EXPECT_EQ (combo.getBounds(), juce::Rectangle<int> (144, 64, 224, 24));
}

TEST (SelectDevicePage, NumbersTheItemsFromOneInListOrder)
{
    SelectDevicePage page;
    page.setDeviceNames ({ "Calvio Flux 2", "Brisma Veil" });

    auto& combo = deviceCombo (page);
    ASSERT_EQ (combo.getNumItems(), 2);
    EXPECT_EQ (combo.getItemText (0), "Calvio Flux 2");
    EXPECT_EQ (combo.getItemId (0), 1);
    EXPECT_EQ (combo.getItemText (1), "Brisma Veil");
    EXPECT_EQ (combo.getItemId (1), 2);
}

TEST (SelectDevicePage, SelectsASingleDeviceAtOnceAndAnnouncesItAsynchronously)
{
    SelectDevicePage page;
    ChangeCounter changes (page);

    page.setDeviceNames ({ "Calvio Flux 2" });

    EXPECT_EQ (page.getSelectedDeviceIndex(), 0);
    EXPECT_EQ (changes.count, 0);
    EXPECT_TRUE (MessageLoop::dispatchUntil ([&] { return changes.count == 1; }));
}

TEST (SelectDevicePage, LeavesSeveralDevicesUnselected)
{
    SelectDevicePage page;
    ChangeCounter changes (page);

    page.setDeviceNames ({ "Calvio Flux 2", "Brisma Veil" });
    MessageLoop::dispatchPending();

    EXPECT_EQ (page.getSelectedDeviceIndex(), -1);
    EXPECT_EQ (deviceCombo (page).getText(), "");
    EXPECT_EQ (changes.count, 0);
}

TEST (SelectDevicePage, AnEmptyListOffersNoChoices)
{
    SelectDevicePage page;
    page.setDeviceNames ({});

    EXPECT_EQ (deviceCombo (page).getNumItems(), 0);
    EXPECT_EQ (page.getSelectedDeviceIndex(), -1);
}

TEST (SelectDevicePage, TheUsersChoiceIsBroadcastAndGivesItsListIndex)
{
    SelectDevicePage page;
    ChangeCounter changes (page);
    page.setDeviceNames ({ "Calvio Flux 2", "Brisma Veil", "Brisma Veil" });

    deviceCombo (page).setSelectedItemIndex (2);

    EXPECT_TRUE (MessageLoop::dispatchUntil ([&] { return changes.count == 1; }));
    EXPECT_EQ (page.getSelectedDeviceIndex(), 2);
}

TEST (SelectDevicePage, FillingAgainDiscardsThePreviousItemsAndSelection)
{
    SelectDevicePage page;
    page.setDeviceNames ({ "Calvio Flux 2", "Brisma Veil" });
    deviceCombo (page).setSelectedItemIndex (1);
    MessageLoop::dispatchPending();

    page.setDeviceNames ({ "Brisma Halo", "Calvio Flux 1" });

    auto& combo = deviceCombo (page);
    ASSERT_EQ (combo.getNumItems(), 2);
    EXPECT_EQ (combo.getItemText (0), "Brisma Halo");
    EXPECT_EQ (page.getSelectedDeviceIndex(), -1);
}
