// A font file's faces added for this process only, so GDI draws the chosen
// one by its family name as it draws an installed face.

#include "platform/font_file.hpp"

#include "platform/win32/windows_text.hpp"

#include <windows.h>

#include <set>

namespace lw {

FontFileFace addFontFile(const std::string& path, std::uint32_t index)
{
    FontFileFace read = readFontFileFace(path, index);
    if (!read.refusal.empty())
        return read;
    // Each file once: GDI counts every addition, and the process keeps them.
    static std::set<std::string> added;
    if (added.contains(path))
        return read;
    if (AddFontResourceExW(widePath(path).c_str(), FR_PRIVATE, nullptr) == 0)
        return {{}, "is not a font Windows can add"};
    added.insert(path);
    return read;
}

} // namespace lw
