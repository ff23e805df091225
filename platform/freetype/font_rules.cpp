#include "platform/freetype/font_rules.hpp"

#include <fontconfig/fontconfig.h>

#include "platform/face_info.hpp"

#include <algorithm>
#include <mutex>
#include <string>

namespace lw {
namespace {

struct StandIn {
    const char* asked;
    const char* used;
};

// The usual Japanese Windows face names and the IPA face that stands in for
// each.
constexpr StandIn kStandIns[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},   {"ＭＳ ゴシック", "IPAGothic"},
    {"MS Gothic", "IPAGothic"},       {"ＭＳ Ｐ明朝", "IPAPMincho"},   {"MS PMincho", "IPAPMincho"},
    {"ＭＳ 明朝", "IPAMincho"},        {"MS Mincho", "IPAMincho"},     {"MS UI Gothic", "IPAPGothic"},
    {"メイリオ", "IPAPGothic"},        {"Meiryo", "IPAPGothic"},       {"Meiryo UI", "IPAPGothic"},
    {"游ゴシック", "IPAPGothic"},      {"Yu Gothic", "IPAPGothic"},    {"游明朝", "IPAPMincho"},
    {"Yu Mincho", "IPAPMincho"},
};

// Each alias puts the IPA face first; binding "same" keeps the strength of
// the family the program asked for, so the alias wins over fontconfig's own
// guesses but a face that really has the name would still be considered.
std::string rules()
{
    std::string xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                      "<fontconfig>\n";
    for (const StandIn& s : kStandIns)
        xml += std::string("  <alias binding=\"same\"><family>") + s.asked + "</family><prefer><family>" + s.used +
               "</family></prefer></alias>\n";
    return xml + "</fontconfig>\n";
}

} // namespace

void installFontRules()
{
    static std::once_flag once;
    std::call_once(once, [] {
        FcInit();
        const std::string xml = rules();
        FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue);
    });
}

const char* standInFamily(std::string_view asked)
{
    for (const StandIn& s : kStandIns)
        if (asked == s.asked)
            return s.used;
    return nullptr;
}

bool isStandIn(std::string_view asked, const FaceInfo& used)
{
    // Vertical writing draws with the same face as the name without "@".
    if (asked.starts_with('@'))
        asked.remove_prefix(1);
    const char* standIn = standInFamily(asked);
    return standIn && (used.family == standIn || std::ranges::find(used.names, standIn) != used.names.end());
}

} // namespace lw
