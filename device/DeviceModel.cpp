#include "device/DeviceModel.h"

bool DeviceModel::answersIdentityTwice (const TargetProduct& product) noexcept
{
    return is (product, TargetBrand::Calvio, 0x1A, 2);
}

bool DeviceModel::needsRegionPreparation (const TargetProduct& product) noexcept
{
    return is (product, TargetBrand::Calvio, 0x1A, 1);
}

bool DeviceModel::needsPortsReopened (const TargetProduct& product) noexcept
{
    return is (product, TargetBrand::Brisma, 0x5C, 4);
}

bool DeviceModel::is (const TargetProduct& product, TargetBrand brand, int familyId, int productId) noexcept
{
    return product.brand == brand && product.familyId == familyId && product.productId == productId;
}
