#include "cli/Json.h"

#include "cli/TerminalText.h"

namespace
{
    constexpr int indentSize = 2;

    // Escaped rather than written as they are, so that a terminal showing the JSON
    // neither obeys nor reorders by them.
    bool isControl (juce::juce_wchar c)
    {
        return c < 0x20 || (c >= 0x7f && c <= 0x9f) || TerminalText::isBidiControl (c);
    }

    bool isScalarValue (juce::juce_wchar c)
    {
        return c <= 0x10ffff && ! (c >= 0xd800 && c <= 0xdfff);
    }

    juce::String quoted (const juce::String& text)
    {
        juce::String result ("\"");
        result.preallocateBytes (text.getNumBytesAsUTF8() + 2);

        for (auto c : text)
        {
            if (c == '"' || c == '\\')
                result << '\\' << juce::String::charToString (c);
            else if (isControl (c))
                result << "\\u" << juce::String::toHexString ((int) c).paddedLeft ('0', 4);
            else
                result += isScalarValue (c) ? c : (juce::juce_wchar) 0xfffd;
        }

        return result + "\"";
    }

    void write (juce::MemoryOutputStream& out, const juce::var& value, int level, bool oneLine);

    void startLine (juce::MemoryOutputStream& out, int level, bool oneLine)
    {
        if (oneLine)
            return;

        out << '\n';
        out.writeRepeatedByte (' ', (size_t) (level * indentSize));
    }

    // The items of an array or an object, between its brackets.
    template <typename WriteItem>
    void writeItems (juce::MemoryOutputStream& out, int count, char open, char close, int level, bool oneLine,
                     WriteItem writeItem)
    {
        out << open;

        if (count == 0)
        {
            out << close;
            return;
        }

        for (int i = 0; i < count; ++i)
        {
            if (i > 0)
                out << (oneLine ? ", " : ",");

            startLine (out, level + 1, oneLine);
            writeItem (i);
        }

        startLine (out, level, oneLine);
        out << close;
    }

    void writeObject (juce::MemoryOutputStream& out, juce::DynamicObject& object, int level, bool oneLine)
    {
        const auto& properties = object.getProperties();

        writeItems (out, properties.size(), '{', '}', level, oneLine, [&] (int i)
        {
            out << quoted (properties.getName (i).toString()) << ": ";
            write (out, properties.getValueAt (i), level + 1, oneLine);
        });
    }

    void write (juce::MemoryOutputStream& out, const juce::var& value, int level, bool oneLine)
    {
        if (value.isString())
            out << quoted (value.toString());
        else if (const auto* array = value.getArray())
            writeItems (out, array->size(), '[', ']', level, oneLine, [&] (int i) { write (out, array->getReference (i), level + 1, oneLine); });
        else if (auto* object = value.getDynamicObject())
            writeObject (out, *object, level, oneLine);
        else
            out << juce::JSON::toString (value, true);   // null, booleans and numbers
    }
}

juce::var Json::object (std::initializer_list<std::pair<const char*, juce::var>> properties)
{
    auto object = std::make_unique<juce::DynamicObject>();

    for (const auto& [name, value] : properties)
        object->setProperty (name, value);

    return juce::var (object.release());
}

juce::String Json::toString (const juce::var& value, bool oneLine)
{
    juce::MemoryOutputStream out;
    write (out, value, 0, oneLine);
    return out.toUTF8();
}
