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

} // namespace lw
