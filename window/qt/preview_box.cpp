#include "window/qt/preview_box.hpp"

#include "base/design.hpp"

#include <QPaintEvent>
#include <QPainter>

namespace lw {
namespace {

constexpr int kFrame = design::kPreviewFrame;

} // namespace

PreviewBox::PreviewBox(QSize outside, QWidget* parent)
    : QFrame(parent),
      canvas_(outside - QSize(2 * kFrame, 2 * kFrame), palette().color(QPalette::Window)),
      dc_(canvas_)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kFrame);
    resize(outside);
    // The image covers the drawing area and the ring is filled below, so
    // the form need not clear behind the preview first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewBox::present()
{
    const QRect changed = canvas_.render();
    // Painted with whatever else the same event changed, in one pass.
    if (!changed.isEmpty())
        update(changed.translated(contentsRect().topLeft()));
}

void PreviewBox::setFitView(bool fit)
{
    canvas_.setFit(fit);
    present();
}

void PreviewBox::paintEvent(QPaintEvent* event)
{
    const QRect area = contentsRect();
    {
        QPainter painter(this);
        const QRect part = event->rect() & area;
        if (!part.isEmpty())
            canvas_.drawOn(painter, area.topLeft(), part.translated(-area.topLeft()));
        // Reported once the paint is over: a message box opened inside a
        // paint would paint again.
        if (reportFailure_)
            if (std::exception_ptr failed = canvas_.takeFailure())
                QMetaObject::invokeMethod(this, [this, failed] { reportFailure_(failed); }, Qt::QueuedConnection);
        if (area.contains(event->rect()))
            return; // a keystroke's band: the frame is untouched
        painter.setClipRegion(event->region() - QRegion(area));
        painter.fillRect(rect(), palette().window());
    }
    QFrame::paintEvent(event);
}

} // namespace lw
