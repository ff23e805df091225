#include "window/qt/preview_box.hpp"

#include "outline/design.hpp"

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
}

void PreviewBox::present()
{
    canvas_.render();
    repaint();
}

void PreviewBox::setFitView(bool fit)
{
    canvas_.setFit(fit);
    present();
}

void PreviewBox::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.drawImage(contentsRect().topLeft(), canvas_.image());
    }
    QFrame::paintEvent(event);
}

} // namespace lw
