// The path flattened into a capture's points (see path_flatten.hpp).

#include "platform/freetype/path_flatten.hpp"

#include "platform/freetype/device_points.hpp"
#include "platform/freetype/path_walk.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

namespace lw {
namespace {

using namespace path_walk;

// Flattens into two arrays sized from the bound; points are rounded as they
// are made, and one that repeats the previous point is dropped at once.
class Flattener {
public:
    // `reuse`: glyphs at whole-pixel origins come from their flattened copy.
    Flattener(std::vector<POINT>& points, std::vector<std::uint8_t>& types, std::size_t bound, bool reuse = true)
        : points_(points), types_(types), reuse_(reuse)
    {
        reserve(bound + 1);
    }

    // Glyphs placed from their flattened copy are told to `runs` from now on;
    // a line of `glyphs` tells at most that many.
    void record(std::vector<GlyphRun>& runs, std::size_t glyphs)
    {
        runs_ = &runs;
        runsBound_ = glyphs;
    }

    // Glyphs wholly outside the area are left out from now on.
    void keepOnly(const DeviceArea& area) { area_ = area; }

    // Whether the glyph is left out: its box, mapped onto the device and
    // rounded as its points would be, misses the area. A pixel more on each
    // side covers the evaluation's rounding error.
    bool leftOut(const State::PlacedGlyph& g, const State::GlyphMap& m)
    {
        if (!area_)
            return false;
        const GlyphOutline& o = *g.outline;
        double left = 0, right = 0, top = 0, bottom = 0;
        bool first = true;
        for (double fx : {double(o.left), double(o.right)})
            for (double fy : {double(o.bottom), double(o.top)}) {
                const double x = g.ox + m.m00 * fx + m.m01 * fy, y = g.oy + m.m10 * fx + m.m11 * fy;
                left = first ? x : std::min(left, x);
                right = first ? x : std::max(right, x);
                top = first ? y : std::min(top, y);
                bottom = first ? y : std::max(bottom, y);
                first = false;
            }
        // NaN compares false: such a glyph is kept.
        const bool misses = std::floor(right + 0.5) + 1 < area_->left || std::floor(left + 0.5) - 1 > area_->right
                         || std::floor(bottom + 0.5) + 1 < area_->top || std::floor(top + 0.5) - 1 > area_->bottom;
        if (misses && open_)
            finishFigure(); // as the glyph's own first move would have
        return misses;
    }

    // A glyph's points moved from its flattened copy; false when it must be
    // flattened here.
    bool placed(const State::PlacedGlyph& g, const State::GlyphMap& m)
    {
        const FlatGlyph* flat = reuse_ ? flatAt(g, m) : nullptr;
        if (!flat)
            return false;
        if (open_)
            finishFigure();
        const std::size_t n = flat->points.size();
        if (count_ + n > capacity_) [[unlikely]]
            reserve(std::max(capacity_ * 2 + 16, count_ + n));
        const auto dx = std::int32_t(g.ox), dy = std::int32_t(g.oy);
        POINT* out = at_ + count_;
        const POINT* in = flat->points.data();
        for (std::size_t i = 0; i < n; ++i)
            out[i] = POINT{in[i].x + dx, in[i].y + dy};
        if (n)
            std::memcpy(types_.data() + count_, flat->types.data(), n);
        if (runs_ && n && count_ + n <= UINT32_MAX) {
            // Room for the whole line at the first: grown by doubling, a
            // short line's runs held a third more than they use.
            if (runs_->empty())
                runs_->reserve(runsBound_);
            runs_->push_back({flat->serial, std::uint32_t(count_), std::uint32_t(n), dx, dy});
        }
        count_ += n;
        start_ = count_;
        return true;
    }

    // A turned glyph's points: its own flattening (made once, unrounded,
    // kept with its flattened copy) turned onto the device and rounded
    // here; false when it must be flattened here.
    bool turned(const State::PlacedGlyph& g, const State::GlyphGroup& group)
    {
        if (!reuse_)
            return false;
        const FlatGlyph* flat = ownFlat(g.outline, group.own);
        if (!flat)
            return false;
        if (open_)
            finishFigure();
        // The turn: the group's map is the turn applied to its own.
        const State::GlyphMap& o = group.own;
        const State::GlyphMap& m = group.map;
        const double det = o.m00 * o.m11 - o.m01 * o.m10;
        const double i00 = o.m11 / det, i01 = -o.m01 / det, i10 = -o.m10 / det, i11 = o.m00 / det;
        const double r00 = m.m00 * i00 + m.m01 * i10, r01 = m.m00 * i01 + m.m01 * i11;
        const double r10 = m.m10 * i00 + m.m11 * i10, r11 = m.m10 * i01 + m.m11 * i11;
        const std::size_t n = flat->exact.size();
        if (count_ + n > capacity_) [[unlikely]]
            reserve(std::max(capacity_ * 2 + 16, count_ + n));
        for (std::size_t i = 0; i < n; ++i) {
            const PointF p = flat->exact[i];
            point({g.ox + r00 * p.x + r01 * p.y, g.oy + r10 * p.x + r11 * p.y}, flat->exactTypes[i]);
        }
        return true;
    }

    // The glyph's flattened copy under its own map, with its unrounded points.
    static const FlatGlyph* ownFlat(const GlyphOutline* outline, const State::GlyphMap& own);

    bool open() const { return open_; }

    void point(PointF p, std::uint8_t type)
    {
        std::uint8_t kind = type & ~PT_CLOSEFIGURE;
        if (kind == PT_MOVETO || !open_) {
            if (open_)
                finishFigure();
            start_ = count_;
            open_ = true;
        }
        add(p);
        last_ = p;
        if (type & PT_CLOSEFIGURE)
            finishFigure();
    }

    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType)
    {
        // The figure is open, so its last point is at_[count_ - 1].
        POINT* end = flattenCubicToArray(last_, c1, c2, e, kFlatness, at_ + count_, [this](std::size_t n) {
            if (count_ + n > capacity_) [[unlikely]]
                reserve(std::max(capacity_ * 2 + 16, count_ + n));
            return at_ + count_;
        });
        count_ = std::size_t(end - at_);
        last_ = e;
        if (endType & PT_CLOSEFIGURE)
            finishFigure();
    }

    // The arrays at their final length, with room for one more.
    std::size_t finish()
    {
        // An open last figure (never made by text) still ends closed.
        if (open_)
            finishFigure();
        points_.resize(count_);
        types_.resize(count_);
        // At small sizes curves collapse to a pixel or two and the bound
        // lies far above the points: keep only them and the slot after.
        if (points_.capacity() > 2 * count_ + 64) {
            rightSize(points_);
            rightSize(types_);
        }
        return count_;
    }

private:
    template <typename T>
    static void rightSize(std::vector<T>& v)
    {
        std::vector<T> tight;
        tight.reserve(v.size() + 1);
        tight.assign(v.begin(), v.end());
        v.swap(tight);
    }

    void add(PointF p) { add(devicePoint(p)); }
    void add(POINT q)
    {
        if (count_ > start_ && at_[count_ - 1] == q)
            return;
        if (count_ == capacity_) [[unlikely]]
            reserve(capacity_ * 2 + 16);
        at_[count_++] = q;
    }

    void finishFigure()
    {
        // The figure closes itself; a last point on the first adds nothing.
        while (count_ - start_ > 1 && at_[count_ - 1] == at_[start_])
            --count_;
        std::size_t n = count_ - start_;
        if (n < 2) {
            count_ = start_;
        } else {
            std::uint8_t* t = types_.data() + start_;
            t[0] = PT_MOVETO;
            std::memset(t + 1, PT_LINETO, n - 2);
            t[n - 1] = PT_LINETO | PT_CLOSEFIGURE;
        }
        open_ = false;
    }

    void reserve(std::size_t capacity)
    {
        // Both arrays grow together; the points' slots are written before
        // they are read, the types' when their figure closes.
        points_.resize(capacity);
        types_.resize(capacity);
        at_ = points_.data();
        capacity_ = capacity;
    }

public:
    static const FlatGlyph* flatAt(const State::PlacedGlyph& g, const State::GlyphMap& m);

private:
    std::vector<POINT>& points_;
    std::vector<std::uint8_t>& types_;
    bool reuse_;
    std::optional<DeviceArea> area_;
    std::vector<GlyphRun>* runs_ = nullptr;
    std::size_t runsBound_ = 0;
    POINT* at_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t count_ = 0;
    std::size_t start_ = 0;
    bool open_ = false;
    PointF last_{};
};

// The largest |x| or |y| of any control point the walk gives.
struct Radius {
    double radius = 0;
    bool open() const { return true; }
    void point(PointF p, std::uint8_t) { radius = std::max({radius, std::fabs(p.x), std::fabs(p.y)}); }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t type)
    {
        point(c1, type);
        point(c2, type);
        point(e, type);
    }
};

// The glyph flattened at the origin (0, 0) under g's map, and the reach of
// origins it holds for: the largest of a few that ShiftCheck finds sure.
std::unique_ptr<FlatGlyph> flattenAlone(const GlyphOutline* outline, const State::GlyphMap& m)
{
    auto flat = std::make_unique<FlatGlyph>();
    flat->m00 = m.m00;
    flat->m01 = m.m01;
    flat->m10 = m.m10;
    flat->m11 = m.m11;
    State alone;
    alone.addGlyph(outline, m, 0, 0);
    Radius radius;
    walkPath(alone, radius);
    // NaN fails the test too.
    if (!(radius.radius < 0x1p28))
        return flat;
    Flattener flattener(flat->points, flat->types, 0, false);
    walkPath(alone, flattener);
    flattener.finish();
    flat->points.shrink_to_fit();
    flat->types.shrink_to_fit();
    for (double reach : {0x1p24, 0x1p16, 0x1p11}) {
        ShiftCheck check(reach, radius.radius, m.m01 == 0, m.m10 == 0);
        walkPath(alone, check);
        if (check.sure()) {
            flat->reach = reach;
            break;
        }
    }
    return flat;
}

const FlatGlyph* Flattener::flatAt(const State::PlacedGlyph& g, const State::GlyphMap& m)
{
    const FlatGlyph* flat = g.outline->flat.get();
    if (!flat || !flat->madeFor(m.m00, m.m01, m.m10, m.m11)) {
        // Made only where it can serve: at a whole-pixel origin.
        if (!(std::fabs(g.ox) <= 0x1p24 && std::fabs(g.oy) <= 0x1p24 && double(std::int32_t(g.ox)) == g.ox
              && double(std::int32_t(g.oy)) == g.oy))
            return nullptr;
        g.outline->flat = flattenAlone(g.outline, m);
        flat = g.outline->flat.get();
    }
    return flat->holdsAt(g.ox, g.oy) ? flat : nullptr;
}

// The flattening's points before rounding, each figure's first a move and
// its last marked closed, as Flattener::point takes them.
struct ExactPoints {
    std::vector<PointF>& points;
    std::vector<std::uint8_t>& types;
    PointF last{};
    bool open() const { return true; }
    void point(PointF p, std::uint8_t type)
    {
        if (type & PT_CLOSEFIGURE && (type & ~PT_CLOSEFIGURE) == PT_MOVETO)
            type = PT_MOVETO; // a figure of one point: the next move ends it
        points.push_back(p);
        types.push_back(type);
        last = p;
    }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType)
    {
        const PointF from = last;
        flattenCubic(from, c1, c2, e, kFlatness, [&](PointF p) {
            points.push_back(p);
            types.push_back(PT_LINETO);
        });
        types.back() = std::uint8_t(PT_LINETO | (endType & PT_CLOSEFIGURE));
        last = e;
    }
};

const FlatGlyph* Flattener::ownFlat(const GlyphOutline* outline, const State::GlyphMap& own)
{
    const FlatGlyph* flat = outline->flat.get();
    if (!flat || !flat->madeFor(own.m00, own.m01, own.m10, own.m11)) {
        outline->flat = flattenAlone(outline, own);
        flat = outline->flat.get();
    }
    if (flat->exact.empty() && !outline->steps.empty()) {
        auto* made = const_cast<FlatGlyph*>(flat); // the outline's own copy, made by this thread's path
        State alone;
        alone.addGlyph(outline, own, 0, 0);
        ExactPoints exact{made->exact, made->exactTypes};
        walkPath(alone, exact);
    }
    return flat;
}

// The flattened points the path's glyphs can give at most: only a whole
// flattening sizes its arrays from it, so a line kept to an area never
// works it out.
std::size_t glyphPointBound(const State& s)
{
    const double segmentsPerWeight = 0.75 / kFlatness;
    std::size_t bound = 0;
    s.forEachGlyph([&](const State::PlacedGlyph& g, const State::GlyphGroup& group) {
        const State::GlyphMap& m = group.map;
        // Placed from its flattened copy, the glyph's count is known.
        if (const FlatGlyph* flat = g.outline->flat.get();
            flat && flat->madeFor(m.m00, m.m01, m.m10, m.m11) && flat->holdsAt(g.ox, g.oy)) {
            bound += flat->points.size();
            return;
        }
        if (const FlatGlyph* flat = g.outline->flat.get(); group.turned && flat &&
            flat->madeFor(group.own.m00, group.own.m01, group.own.m10, group.own.m11) && !flat->exact.empty()) {
            bound += flat->exact.size();
            return;
        }
        // The map's largest stretch, its top singular value.
        double f2 = m.m00 * m.m00 + m.m01 * m.m01 + m.m10 * m.m10 + m.m11 * m.m11;
        double det = m.m00 * m.m11 - m.m01 * m.m10;
        double stretch = std::sqrt((f2 + std::sqrt(std::max(0.0, f2 * f2 - 4 * det * det))) / 2);
        double curvePoints = std::sqrt(segmentsPerWeight * stretch) * g.outline->curveWeight * 1.001 + 1;
        // No curve gives more than the flattening's cap.
        double most = double(kMaxSegments) * g.outline->curveSteps;
        bound += g.outline->pointSteps + g.outline->curveSteps
               + static_cast<std::size_t>(curvePoints < most ? curvePoints : most);
    });
    return bound;
}

} // namespace

const FlatGlyph* flatGlyphAt(const State::PlacedGlyph& g, const State::GlyphMap& m) { return Flattener::flatAt(g, m); }

std::size_t flattenPath(const State& s, std::vector<POINT>& points, std::vector<std::uint8_t>& types,
                        const DeviceArea* area, std::vector<GlyphRun>* runs)
{
    if (runs)
        runs->clear();
    const bool byGlyph = glyphsStartWithMoves(s);
    // Kept to an area, the bound of the whole line would be mostly unused
    // room, each slot of it written once: the arrays grow as needed instead.
    Flattener flattener(points, types, area && byGlyph ? s.pathSize() + 1024 : glyphPointBound(s) + s.pathSize());
    if (area)
        flattener.keepOnly(*area);
    if (runs)
        flattener.record(*runs, s.glyphs.size());
    if (byGlyph) {
        walkPath(s, flattener);
    } else {
        // Read through the path's own points, as they would be stored.
        std::vector<State::PathPoint> expanded;
        ControlPoints control{expanded};
        walkPath(s, control);
        State flat;
        flat.madeExtras().path = std::move(expanded);
        walkPath(flat, flattener);
    }
    return flattener.finish();
}

} // namespace lw
