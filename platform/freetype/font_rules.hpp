#pragma once
// The project's fontconfig rules: the usual Japanese Windows face names
// ("ＭＳ Ｐゴシック" first) resolve to the IPA fonts. Loaded into the current
// fontconfig configuration once; call before Qt builds its font list so the
// window shows the same faces the outline engine uses.

namespace lw {

// Idempotent; the outline engine also calls it before its first lookup.
void installFontRules();

} // namespace lw
