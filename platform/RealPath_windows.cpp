#include "platform/RealPath.h"

#include <vector>

#include <windows.h>

namespace
{
    // The system's own answer for an open handle: junctions and symbolic links followed.
    juce::String finalPathOf (HANDLE handle)
    {
        constexpr DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
        std::vector<wchar_t> buffer (MAX_PATH + 1);
        auto length = GetFinalPathNameByHandleW (handle, buffer.data(), (DWORD) buffer.size(), flags);

        if (length >= buffer.size())
        {
            buffer.resize (length + 1);
            length = GetFinalPathNameByHandleW (handle, buffer.data(), (DWORD) buffer.size(), flags);
        }

        if (length == 0 || length >= buffer.size())
            return {};

        return juce::String (buffer.data(), (size_t) length);
    }
}

std::optional<juce::File> RealPath::of (const juce::File& file)
{
    // No access asked for, so that a file another program holds open still resolves;
    // backup semantics let a folder be opened as well.
    const auto handle = CreateFileW (file.getFullPathName().toWideCharPointer(), 0,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);

    if (handle == INVALID_HANDLE_VALUE)
        return {};

    auto path = finalPathOf (handle);
    CloseHandle (handle);

    if (path.isEmpty())
        return {};

    // The answer is \\?\C:\... or \\?\UNC\server\share\...; JUCE's paths have no prefix.
    if (path.startsWith ("\\\\?\\UNC\\"))
        return juce::File ("\\\\" + path.substring (8));

    if (path.startsWith ("\\\\?\\"))
        return juce::File (path.substring (4));

    return juce::File (path);
}
