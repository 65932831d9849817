#include "cli/JsonDeviceLines.h"

#include "cli/Json.h"

JsonDeviceLines::JsonDeviceLines (Console& consoleToUse, const TargetDevice& deviceToShow, int number)
    : DeviceReporter (consoleToUse, labelOf (deviceToShow, number)),
      device (deviceToJson (deviceToShow, number))
{
}

juce::var JsonDeviceLines::deviceToJson (const TargetDevice& device, int number)
{
    return Json::object ({ { "number", number }, { "product", device.product.name }, { "name", device.getDeviceName() } });
}

void JsonDeviceLines::showStatus (const juce::String& text)
{
    console.printJson (Json::object ({ { "device", device }, { "status", text } }));
}

void JsonDeviceLines::showProgress (int percent, double fraction)
{
    console.printJson (Json::object ({ { "device", device }, { "progress", percent < 0 ? -1.0 : fraction } }));
}
