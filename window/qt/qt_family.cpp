#include "window/qt/qt_family.hpp"

#include "base/failure.hpp"
#include "platform/freetype/font_library.hpp"
#include "platform/freetype/font_rules.hpp"

#include <algorithm>

namespace lw {

QString qtFamily(std::string_view face)
{
    const char* standIn = standInFamily(face);
    if (standIn) {
        try {
            // The capture's own lookup, kept for it: fontconfig's answer for
            // the name, so the stand-in is named only where it is installed.
            // Under a Japanese locale fontconfig prefers the Japanese name.
            const std::vector<std::string>& names = resolveFace(face, false).names;
            if (std::ranges::find(names, standIn) != names.end())
                return QString::fromLatin1(standIn);
        } catch (const Failure&) {
            // No font at all: Qt says what it shows instead.
        }
    }
    return QString::fromUtf8(face.data(), qsizetype(face.size()));
}

} // namespace lw
