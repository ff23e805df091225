#pragma once
// The family name the window gives Qt for a face name. Qt resolves a name
// it does not know through fontconfig for every new font it builds (each
// size and script); a usual Japanese Windows name that the font rules send
// to an installed IPA face is named as that face instead, which is what
// fontconfig answers (the lookup is the capture's own, made once). Every
// other name is passed on as it is.
//
//   QFont font(qtFamily("ＭＳ Ｐゴシック"));   // "IPAPGothic", where installed

#include <QString>

#include <string_view>

namespace lw {

// Needs the font rules installed, as Qt does.
QString qtFamily(std::string_view face);

} // namespace lw
