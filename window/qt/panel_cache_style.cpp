#include "window/qt/panel_cache_style.hpp"

#include <QPaintDevice>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <QWidget>

namespace lw {

PanelCacheStyle::PanelCacheStyle(const QString& base) : QProxyStyle(QStyleFactory::create(base)) {}

void PanelCacheStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element != PE_PanelLineEdit || !frame || !painter->device() || option->rect.isEmpty()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // An opaque picture is also copied rather than blended.
    const QWidget* parent = widget ? widget->parentWidget() : nullptr;
    const QColor behind = parent && widget->testAttribute(Qt::WA_OpaquePaintEvent)
                              ? parent->palette().color(parent->backgroundRole())
                              : QColor(Qt::transparent);
    const Key key{option->rect.size(), option->state,      option->palette.cacheKey(),
                  frame->lineWidth,    frame->midLineWidth, option->direction,
                  painter->device()->devicePixelRatioF(), behind.rgba()};
    if (panel_.isNull() || !(key == key_)) {
        // A panel seen once may never be painted again (a window that only
        // starts, a box resized): the picture is made the second time.
        if (!(key == seen_)) {
            seen_ = key;
            if (behind.alpha() != 0)
                painter->fillRect(option->rect, behind);
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        QPixmap picture(option->rect.size() * key.ratio);
        picture.setDevicePixelRatio(key.ratio);
        picture.fill(behind);
        QPainter onPicture(&picture);
        QStyleOptionFrame atOrigin = *frame;
        atOrigin.rect.moveTo(0, 0);
        QProxyStyle::drawPrimitive(element, &atOrigin, &onPicture, widget);
        onPicture.end();
        panel_ = picture;
        key_ = key;
    }
    painter->drawPixmap(option->rect.topLeft(), panel_);
}

} // namespace lw
