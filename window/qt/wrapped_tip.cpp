#include "window/qt/wrapped_tip.hpp"

#include <QTextLayout>
#include <QToolTip>

namespace lw {

QString wrappedToWidth(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        // The blank a line breaks at is no part of either line.
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

QString wrappedTip(const QString& text, int width) { return wrappedToWidth(text, QToolTip::font(), width); }

} // namespace lw
