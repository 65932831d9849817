#include "device/BinFileException.h"
#include "device/CommException.h"
#include "device/DeviceModel.h"
#include "device/MidiDeviceScanner.h"
#include "fuzz/FuzzExpect.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzedFarSide.h"
#include "sim/SimulatedReplies.h"

// Input: the product (a byte picking one of the models below), a flag byte (bit 0:
// update the device once found), a firmware image (a record count byte % 4, each
// record a 32-bit address and a counted run of data, then a byte whose value % 8 is
// cut off the end of the file), then the far side's script (see FuzzedFarSide).
//
// The device is looked for on a virtual port, identified and, when asked for, updated
// with the image, as the scan and update workers do. Whatever the device answers, that
// must end without a crash, a hang, or an exception the workers do not catch.
namespace
{
    struct Model
    {
        TargetBrand brand;
        int familyId;
        int productId;
        int updateProductId;
    };

    // Every model with handling of its own, and plain ones of each manufacturer ID form.
    constexpr Model models[] = {
        { TargetBrand::Calvio, 0x05, 0x02, 0x42 },
        { TargetBrand::Calvio, 0x1A, 0x02, 0x52 },
        { TargetBrand::Calvio, 0x1A, 0x01, 0x51 },
        { TargetBrand::Brisma, 0x5C, 0x04, 0x44 },
        { TargetBrand::Brisma, 0x10, 0x03, 0x7A },
        { TargetBrand::Calvio, 0x05, 0x03, 0x03 },
        { TargetBrand::Other, 0x01, 0x01, 0x01 }
    };

    const juce::String portName ("Pedal");

    std::unique_ptr<TargetProduct> makeProduct (const Model& model)
    {
        auto product = std::make_unique<TargetProduct>();
        product->name = "Fuzzed";
        product->brand = model.brand;
        product->familyId = model.familyId;
        product->productId = model.productId;
        product->updateProductId = model.updateProductId;
        product->ports.add (std::make_unique<TargetPort>())->name = portName;
        return product;
    }

    SysexHeader replyHeaderOf (const Model& model)
    {
        auto header = SimulatedReplies::manufacturerOf (model.brand);
        header.deviceId = 0x01;
        header.familyId = (juce::uint8) model.familyId;
        header.productId = (juce::uint8) model.productId;
        return header;
    }

    FuzzInput::Bytes imageOf (FuzzInput& input)
    {
        FuzzInput::Bytes image { 0x00, 0x5C, 0x00, 0x05 };

        for (auto records = input.byte() % 4; records > 0; --records)
        {
            const auto address = input.bigEndian32();
            const auto data = input.counted();
            const juce::uint32 length = (juce::uint32) data.size();

            for (const auto value : { address, length })
                for (int shift = 24; shift >= 0; shift -= 8)
                    image.push_back ((juce::uint8) (value >> shift));

            image.insert (image.end(), data.begin(), data.end());
        }

        image.resize (image.size() - juce::jmin (image.size(), (std::size_t) (input.byte() % 8)));
        return image;
    }

    /** Progress must stay what the progress bar can show. */
    class CheckingReporter : public StatusReporter,
                             public ProgressReporter
    {
    public:
        void reportStatus (const juce::String&) override {}

        void reportProgress (double fraction) override
        {
            fuzzExpect (fraction == -1.0 || (fraction >= 0.0 && fraction <= 1.0), "progress is -1 or a fraction");
        }
    };

    void update (TargetDevice& device, const FuzzInput::Bytes& image)
    {
        juce::MemoryInputStream stream (image.data(), image.size(), false);
        CheckingReporter reporter;

        // What the update worker catches; anything else would escape it.
        try
        {
            device.update (stream, &reporter, &reporter);
        }
        catch (const CommException&)
        {
        }
        catch (const BinFileException&)
        {
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    FuzzInput input (data, size);
    const auto& model = models[input.byte() % std::size (models)];
    const auto updates = (input.byte() & 1) != 0;
    const auto image = imageOf (input);
    const auto script = input.rest();

    juce::OwnedArray<TargetProduct> catalogue;
    const auto* product = catalogue.add (makeProduct (model));

    VirtualMidiPortSystem ports;
    ports.addInput (portName);
    ports.addOutput (portName);
    FuzzedFarSide farSide (ports, portName, replyHeaderOf (model), DeviceModel::answersIdentityTwice (*product),
                           FuzzInput (script.data(), script.size()));

    const auto devices = MidiDeviceScanner (ports, ReplyTimeouts {}).findDevices (catalogue);

    if (devices != nullptr && updates)
        update (*devices->getFirst(), image);

    return 0;
}
