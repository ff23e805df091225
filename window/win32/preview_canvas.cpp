#include "window/win32/preview_canvas.hpp"

#include <vector>

namespace lw {
namespace {

std::vector<::POINT> native(std::span<const POINT> points)
{
    std::vector<::POINT> out;
    out.reserve(points.size());
    for (POINT p : points)
        out.push_back({p.x, p.y});
    return out;
}

// GDI's own fill by the winding rule, one pen at a time.
class GdiPainter final : public PreviewDrawing::Painter {
public:
    explicit GdiPainter(HDC dc) : dc_(dc) { SetPolyFillMode(dc_, WINDING); }
    ~GdiPainter() override
    {
        SelectObject(dc_, GetStockObject(NULL_PEN));
        drop();
    }
    void fill(std::span<const std::span<const POINT>> polygons) override
    {
        std::vector<::POINT> points;
        std::vector<INT> counts;
        for (std::span<const POINT> polygon : polygons) {
            const std::vector<::POINT> more = native(polygon);
            points.insert(points.end(), more.begin(), more.end());
            counts.push_back(INT(polygon.size()));
        }
        SelectObject(dc_, GetStockObject(NULL_PEN));
        drop();
        SelectObject(dc_, GetStockObject(WHITE_BRUSH));
        PolyPolygon(dc_, points.data(), counts.data(), int(counts.size()));
        SelectObject(dc_, GetStockObject(NULL_BRUSH));
    }
    void outline(std::span<const POINT> polygon, Rgb pen) override
    {
        use(pen);
        const std::vector<::POINT> points = native(polygon);
        ::Polygon(dc_, points.data(), int(points.size()));
    }
    void line(POINT from, POINT to, Rgb pen) override
    {
        use(pen);
        MoveToEx(dc_, from.x, from.y, nullptr);
        LineTo(dc_, to.x, to.y);
    }

private:
    void use(Rgb colour)
    {
        if (pen_ && colour == colour_)
            return;
        HPEN next = CreatePen(PS_SOLID, 1, RGB(colour.red, colour.green, colour.blue));
        SelectObject(dc_, next);
        drop();
        pen_ = next;
        colour_ = colour;
    }
    void drop()
    {
        if (pen_)
            DeleteObject(pen_);
        pen_ = nullptr;
    }

    HDC dc_;
    HPEN pen_ = nullptr;
    Rgb colour_{};
};

} // namespace

void PreviewCanvas::render(HDC dc, int width, int height, bool fit)
{
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    const int saved = SaveDC(dc);
    {
        GdiPainter painter(dc);
        paint(shownPoints(fit, width, height), painter);
    }
    RestoreDC(dc, saved);
}

} // namespace lw
