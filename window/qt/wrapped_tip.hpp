#pragma once
// A tooltip's text broken into lines no wider than a width, at the places
// Unicode allows a break (between Japanese characters, at blanks): Qt shows
// a plain tooltip as one line, however long.

#include <QFont>
#include <QString>

namespace lw {

// `text` with line feeds where a line of `font` would pass `width` pixels;
// a word wider than `width` stands alone on its line.
QString wrappedToWidth(const QString& text, const QFont& font, int width);

// The same, in the tooltip's own font.
QString wrappedTip(const QString& text, int width);

} // namespace lw
