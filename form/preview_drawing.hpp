#pragma once
// What was drawn on the preview since the last clear, kept for a view to
// paint: runs of polygons drawn one after another, each run one shape, and
// single lines, in the order drawn. A shape is filled white as a whole by
// the nonzero winding rule, as a font defines its outlines, then each of
// its outlines is drawn; so a counter stays open and a stroke inside a
// counter shows, whatever order the font lists its contours in. Each view's
// canvas derives from it and paints through a Painter of its toolkit.
//
//   const auto shown = drawing.shownPoints(fit, 461, 301);
//   drawing.paint(shown, painter, PreviewDrawing::Box{0, 0, 460, 300});

#include "platform/canvas.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lw {

class PreviewDrawing : public Canvas {
public:
    void clear() override;
    void polygon(std::span<const POINT> points, Rgb pen) override;
    void line(POINT from, POINT to, Rgb pen) override;
    void mark(POINT from, POINT to, Rgb pen) override;

    // The points as the view shows them: the drawing's own, or all of the
    // drawing fitted into `width` x `height` (fit_view.hpp). Marks stay
    // where they were drawn and take no part in the fit, so a drawing with
    // the same points as another is fitted the same, marks or not.
    std::span<const POINT> shownPoints(bool fit, int width, int height);

    // Columns and rows, both ends included; empty when right < left.
    struct Box {
        std::int32_t left = 0, top = 0, right = -1, bottom = -1;

        bool empty() const { return right < left || bottom < top; }
        bool meets(const Box& other) const
        {
            return !empty() && !other.empty() && left <= other.right && other.left <= right &&
                   top <= other.bottom && other.top <= bottom;
        }
    };
    // The box of `shown` (the points shownPoints gave): at the drawing's own
    // points it is kept as the drawing grows, not found by a pass over them.
    Box boundsOf(std::span<const POINT> shown) const;

    class Painter {
    public:
        virtual ~Painter() = default;
        // A shape's polygons, filled together.
        virtual void fill(std::span<const std::span<const POINT>> polygons) = 0;
        // Then each of them drawn.
        virtual void outline(std::span<const POINT> polygon, Rgb pen) = 0;
        virtual void line(POINT from, POINT to, Rgb pen) = 0;
    };
    // Hands the drawing to `painter` in the order drawn, at `shown` (the
    // points shownPoints gives). With `within`, a line or polygon that lies
    // wholly outside it is left out where that is known without a pass over
    // its points (at the drawing's own points): a long line of text at a
    // large size shows a few of its glyphs. A closed polygon winds nothing
    // outside its box, so what a shape's fill covers within stays the same.
    void paint(std::span<const POINT> shown, Painter& painter, std::optional<Box> within = {}) const;

private:
    // Points of points_ from `first`: a polygon, or a line's two ends.
    struct Outline {
        std::size_t first, count;
        Rgb pen;
        Box box{}; // of its points, as drawn
    };
    // Outlines of outlines_ from `first`: a shape, or one line.
    struct Item {
        std::size_t first, count;
        bool line;
        bool fixed = false; // a mark
        Box box{};          // of its points, as drawn
    };
    std::vector<POINT> points_;
    std::vector<Outline> outlines_;
    std::vector<Item> items_;
    std::vector<POINT> fitted_;
};

} // namespace lw
