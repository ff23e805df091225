#pragma once
// The project's fontconfig rules: the usual Japanese Windows face names
// ("ＭＳ Ｐゴシック" first) resolve to the IPA fonts. Loaded into the current
// fontconfig configuration once; call before Qt builds its font list so the
// window shows the same faces the outline engine uses.

#include <string_view>

namespace lw {

// Idempotent; the outline engine also calls it before its first lookup.
void installFontRules();

// The IPA family the rules put first for `asked` (exactly one of the names
// above), else nullptr. A toolkit can name it directly and skip resolving
// the alias itself.
const char* standInFamily(std::string_view asked);

} // namespace lw
