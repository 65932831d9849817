#include "demo/PageKind.h"

#include "wizard/pages/ConfirmPage.h"
#include "wizard/pages/DownloadImagePage.h"
#include "wizard/pages/PreUpdateInstructionsPage.h"
#include "wizard/pages/ProgramDevicePage.h"
#include "wizard/pages/ResultsPage.h"
#include "wizard/pages/ScanPage.h"
#include "wizard/pages/SelectDevicePage.h"
#include "wizard/pages/SelectUpdatePage.h"
#include "wizard/pages/SelectVersionFilterPage.h"
#include "wizard/pages/WelcomePage.h"

namespace
{
    template <typename PageType>
    bool is (WizardPage& page)
    {
        return dynamic_cast<PageType*> (&page) != nullptr;
    }
}

PageKind::Kind PageKind::of (WizardPage& page)
{
    // clang-format off
    if (is<WelcomePage> (page))                 return welcome;
    if (is<ScanPage> (page))                    return scan;
    if (is<SelectDevicePage> (page))            return selectDevice;
    if (is<SelectVersionFilterPage> (page))     return versionFilter;
    if (is<SelectUpdatePage> (page))            return selectUpdate;
    if (is<ConfirmPage> (page))                 return confirm;
    if (is<PreUpdateInstructionsPage> (page))   return instructions;
    if (is<DownloadImagePage> (page))           return download;
    if (is<ProgramDevicePage> (page))           return programming;
    if (is<ResultsPage> (page))                 return results;
    // clang-format on
    return unknown;
}

juce::String PageKind::nameOf (Kind kind)
{
    switch (kind)
    {
        case welcome:       return "welcome";
        case scan:          return "scan";
        case selectDevice:  return "select-device";
        case versionFilter: return "version-filter";
        case selectUpdate:  return "select-update";
        case confirm:       return "confirm";
        case instructions:  return "instructions";
        case download:      return "download";
        case programming:   return "programming";
        case results:       return "results";
        case unknown:       break;
    }

    return "unknown";
}
