#pragma once
// What a face name resolves to on this platform, for reports to the user.
//
//   lw::describeFace("ＭＳ Ｐゴシック", false)  // {"IPAPGothic", ".../ipagp.ttf"}

#include <string>
#include <string_view>

namespace lw {

struct FaceInfo {
    std::string family; // the family actually used
    std::string file;   // the font file, where the platform tells it
};

// The face the platform uses for `family` (UTF-8) in the given style.
FaceInfo describeFace(std::string_view family, bool italic);

// True when the platform uses the family `used` for the name `asked` on
// purpose (a face standing in for a usual Japanese Windows face name), so
// that the substitution is no surprise to report.
bool isStandIn(std::string_view asked, std::string_view used);

} // namespace lw
