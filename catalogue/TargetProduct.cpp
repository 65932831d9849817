#include "catalogue/TargetProduct.h"

namespace
{
    template <typename Item>
    void appendCopies (juce::OwnedArray<Item>& destination, const juce::OwnedArray<Item>& source)
    {
        for (auto* item : source)
            destination.add (std::make_unique<Item> (*item));
    }
}

TargetProduct::TargetProduct (const TargetProduct& other)
    : name (other.name),
      productId (other.productId),
      updateProductId (other.updateProductId),
      familyId (other.familyId),
      brand (other.brand),
      specialPreInstructions (other.specialPreInstructions)
{
    appendCopies (revisions, other.revisions);
    appendCopies (ports, other.ports);
}

TargetProduct& TargetProduct::operator= (const TargetProduct& other)
{
    if (this != &other)
    {
        TargetProduct copy (other);
        *this = std::move (copy);
    }

    return *this;
}
