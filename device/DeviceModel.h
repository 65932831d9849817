#pragma once

#include "catalogue/TargetProduct.h"

/** The few products whose devices need handling of their own, recognised by their
    catalogue entry (never by what a device answers).
*/
struct DeviceModel
{
    /** The device answers an identity request twice; the second answer must be waited
        for and dropped.
    */
    static bool answersIdentityTwice (const TargetProduct& product) noexcept;

    /** The device needs its low flash pages prepared before the region at address 0 is
        written.
    */
    static bool needsRegionPreparation (const TargetProduct& product) noexcept;

    /** After switching into update mode the device answers only once its ports have
        been closed and opened again.
    */
    static bool needsPortsReopened (const TargetProduct& product) noexcept;

private:
    static bool is (const TargetProduct& product, TargetBrand brand, int familyId, int productId) noexcept;
};
