#include "sim/SimulatedProduct.h"

SimulatedDeviceConfig SimulatedProduct::toConfig() const
{
    SimulatedDeviceConfig config;
    config.portName = portName;
    config.brand = brand;
    config.familyId = familyId;
    config.productId = productId;
    config.updateProductId = updateProductId;
    config.name = name;
    config.versionB0 = versionB0;
    config.versionB1 = versionB1;
    config.memoryMap = memoryMap;

    // After an Ack the host goes on addressing the device by its normal IDs, so only a
    // device that keeps its product ID in update mode can afford to acknowledge.
    config.acknowledgesUpdateMode = productId == updateProductId;
    config.answersIdentityTwice = brand == TargetBrand::Calvio && familyId == 0x1A && productId == 2;
    config.needsReopenAfterUpdateMode = brand == TargetBrand::Brisma && familyId == 0x5C && productId == 4;
    return config;
}
