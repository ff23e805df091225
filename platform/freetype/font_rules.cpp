#include "platform/freetype/font_rules.hpp"

#include <fontconfig/fontconfig.h>

#include <mutex>

namespace lw {
namespace {

// Each alias puts the IPA face first; binding "same" keeps the strength of
// the family the program asked for, so the alias wins over fontconfig's own
// guesses but a face that really has the name would still be considered.
constexpr const char kRules[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <alias binding="same"><family>ＭＳ Ｐゴシック</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>MS PGothic</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>ＭＳ ゴシック</family><prefer><family>IPAGothic</family></prefer></alias>
  <alias binding="same"><family>MS Gothic</family><prefer><family>IPAGothic</family></prefer></alias>
  <alias binding="same"><family>ＭＳ Ｐ明朝</family><prefer><family>IPAPMincho</family></prefer></alias>
  <alias binding="same"><family>MS PMincho</family><prefer><family>IPAPMincho</family></prefer></alias>
  <alias binding="same"><family>ＭＳ 明朝</family><prefer><family>IPAMincho</family></prefer></alias>
  <alias binding="same"><family>MS Mincho</family><prefer><family>IPAMincho</family></prefer></alias>
  <alias binding="same"><family>MS UI Gothic</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>メイリオ</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>Meiryo</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>Meiryo UI</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>游ゴシック</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>Yu Gothic</family><prefer><family>IPAPGothic</family></prefer></alias>
  <alias binding="same"><family>游明朝</family><prefer><family>IPAPMincho</family></prefer></alias>
  <alias binding="same"><family>Yu Mincho</family><prefer><family>IPAPMincho</family></prefer></alias>
</fontconfig>
)";

} // namespace

void installFontRules()
{
    static std::once_flag once;
    std::call_once(once, [] {
        FcInit();
        FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(),
                                       reinterpret_cast<const FcChar8*>(kRules), FcTrue);
    });
}

} // namespace lw
