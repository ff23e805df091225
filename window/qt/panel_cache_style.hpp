#pragma once
// A style that paints a line edit's panel (its background and frame) once
// and then shows the picture (from the second paint on). Styles stroke the frame anew on every repaint,
// and the big text box repaints on every keystroke: with the frame drawn as
// an antialiased path, 40% of a keystroke's time went to it. Everything else
// goes to the style it stands in for, which also draws the picture, so the
// box looks exactly as before.
//
// A box that paints opaquely gets its parent's background colour behind the
// panel's rounded corners, so its parent need not clear under it first; only
// for a parent with a plain background.
//
//   auto* style = new PanelCacheStyle(QApplication::style()->name());
//   style->setParent(box);
//   box->setStyle(style);
//   box->setAttribute(Qt::WA_OpaquePaintEvent); // if wanted

#include <QPixmap>
#include <QProxyStyle>

namespace lw {

class PanelCacheStyle final : public QProxyStyle {
    Q_OBJECT
public:
    // `base`: the name of the style to stand in for.
    explicit PanelCacheStyle(const QString& base);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    // What the picture was drawn for.
    struct Key {
        QSize size;
        State state;
        qint64 palette = 0;
        int lineWidth = 0;
        int midLineWidth = 0;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        qreal ratio = 1;
        QRgb behind = 0;
        bool operator==(const Key&) const = default;
    };
    mutable Key key_;
    mutable QPixmap panel_;
    mutable Key seen_; // drawn directly once, not yet as a picture
};

} // namespace lw
