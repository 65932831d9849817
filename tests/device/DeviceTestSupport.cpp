#include "tests/device/DeviceTestSupport.h"

#include "device/BinFileException.h"
#include "device/CommInterruptedException.h"
#include "device/CommTargetException.h"
#include "device/sysex/Super7RxSysexMsg.h"
#include "device/sysex/Super7TxSysexMsg.h"

namespace devicetest
{
    std::string hexOf (const Bytes& bytes)
    {
        if (bytes.empty())
            return {};

        return juce::String::toHexString (bytes.data(), (int) bytes.size()).toUpperCase().toStdString();
    }

    Bytes superSeven (const SysexHeader& header, const Bytes& payload)
    {
        pex::Super7TxSysexMsg message (header);
        message.Append (payload.data(), (juce::uint32) payload.size());
        message.Complete();
        return Bytes (message.GetData(), message.GetData() + message.GetLength());
    }

    namespace
    {
        SysexHeader makeHeader (juce::uint16 manufacturerId, juce::uint8 extendedId, juce::uint8 deviceId,
                                juce::uint8 familyId, juce::uint8 productId, juce::uint8 command)
        {
            return { manufacturerId, extendedId, deviceId, familyId, productId, command };
        }
    }

    SysexHeader calvioHeader (juce::uint8 deviceId, juce::uint8 familyId, juce::uint8 productId, juce::uint8 command)
    {
        return makeHeader (0x0006, 0, deviceId, familyId, productId, command);
    }

    SysexHeader brismaHeader (juce::uint8 deviceId, juce::uint8 familyId, juce::uint8 productId, juce::uint8 command)
    {
        return makeHeader (0x0010, 1, deviceId, familyId, productId, command);
    }

    std::string decodeHostMessage (const Bytes& message)
    {
        pex::Super7RxSysexMsg received;
        received.Append (message.data(), (juce::uint32) message.size());
        const Bytes payload (received.GetData(), received.GetData() + received.GetLength());
        const auto command = juce::String::toHexString (received.GetCommand()).toUpperCase().paddedLeft ('0', 2);
        return command.toStdString() + ":" + (payload.empty() ? "" : " " + hexOf (payload));
    }

    TargetProduct makeProduct (TargetBrand brand, int familyId, int productId, int updateProductId,
                               const juce::String& portName, int portCount)
    {
        TargetProduct product;
        product.name = "Product";
        product.brand = brand;
        product.familyId = familyId;
        product.productId = productId;
        product.updateProductId = updateProductId;
        product.ports.add (std::make_unique<TargetPort> (TargetPort { portName, portCount }));
        return product;
    }

    std::string thrownBy (const std::function<void()>& action)
    {
        try
        {
            action();
        }
        catch (const CommInterruptedException& e)
        {
            return std::string ("interrupted: ") + e.what();
        }
        catch (const CommTargetException& e)
        {
            return "target 0x" + juce::String::toHexString (e.command).toUpperCase().toStdString()
                 + "/" + std::to_string (e.errorCode) + ": " + e.what();
        }
        catch (const CommHostException& e)
        {
            return "host " + std::to_string (e.hostError) + ": " + e.what();
        }
        catch (const CommException& e)
        {
            return std::string ("comm: ") + e.what();
        }
        catch (const BinFileException& e)
        {
            return std::string ("image: ") + e.what();
        }

        return {};
    }
}
