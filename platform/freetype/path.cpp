// The path bracket of the FreeType backend and its read-back: BeginPath,
// EndPath, FlattenPath (curves within kFlatness, points rounded to whole
// pixels, every figure closed) and GetPath.

#include "platform/freetype/device_points.hpp"
#include "platform/freetype/flat_glyph.hpp"
#include "platform/freetype/state.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

namespace lw {
namespace {

using State = DeviceContext::State;
using PathState = State::PathState;

// A glyph expanded from its outline: points and cubic curves, as walkPath
// gives them. Its figure closes at its last point before the next move and
// at the glyph's end.
template <typename Sink>
void walkGlyph(const State::PlacedGlyph& g, const State::GlyphGroup& group, Sink& sink)
{
    const State::GlyphMap& m = group.map;
    if constexpr (requires { sink.leftOut(g, m); }) {
        if (sink.leftOut(g, m))
            return;
    }
    if constexpr (requires { sink.turned(g, group); }) {
        if (group.turned && sink.turned(g, group))
            return;
    }
    if constexpr (requires { sink.placed(g, m); }) {
        if (sink.placed(g, m))
            return;
    }
    auto device = [&g, &m](double fx, double fy) {
        return PointF{g.ox + m.m00 * fx + m.m01 * fy, g.oy + m.m10 * fx + m.m11 * fy};
    };
    const auto& steps = g.outline->steps;
    double lastX = 0, lastY = 0; // font units, for conic to cubic
    for (std::size_t k = 0; k < steps.size(); ++k) {
        const OutlineStep& st = steps[k];
        std::uint8_t close = (k + 1 == steps.size() || steps[k + 1].kind == OutlineStep::Move)
                           ? PT_CLOSEFIGURE : 0;
        switch (st.kind) {
        case OutlineStep::Move:
        case OutlineStep::Line:
            sink.point(device(st.x[0], st.y[0]),
                       std::uint8_t((st.kind == OutlineStep::Move ? PT_MOVETO : PT_LINETO) | close));
            lastX = st.x[0];
            lastY = st.y[0];
            break;
        case OutlineStep::Conic:
            // The exact cubic of a quadratic: controls 2/3 of the way to
            // the quadratic's control point.
            sink.cubic(device(lastX + 2.0 / 3.0 * (st.x[0] - lastX), lastY + 2.0 / 3.0 * (st.y[0] - lastY)),
                       device(st.x[1] + 2.0 / 3.0 * (st.x[0] - st.x[1]),
                              st.y[1] + 2.0 / 3.0 * (st.y[0] - st.y[1])),
                       device(st.x[1], st.y[1]), std::uint8_t(PT_BEZIERTO | close));
            lastX = st.x[1];
            lastY = st.y[1];
            break;
        case OutlineStep::Cubic:
            sink.cubic(device(st.x[0], st.y[0]), device(st.x[1], st.y[1]), device(st.x[2], st.y[2]),
                       std::uint8_t(PT_BEZIERTO | close));
            lastX = st.x[2];
            lastY = st.y[2];
            break;
        }
    }
}

// Walks the path in order, its own points and its glyphs where they stand,
// as points and as cubic curves (two controls and an end point).
template <typename Sink>
void walkPath(const State& s, Sink& sink)
{
    const auto path = s.path();
    std::size_t next = 0;
    auto explicitUpTo = [&](std::size_t end) {
        for (; next < end; ++next) {
            const auto& p = path[next];
            if ((p.type & ~PT_CLOSEFIGURE) == PT_BEZIERTO && sink.open() && next + 2 < path.size()) {
                sink.cubic({p.x, p.y}, {path[next + 1].x, path[next + 1].y}, {path[next + 2].x, path[next + 2].y},
                           path[next + 2].type);
                next += 2;
            } else {
                sink.point({p.x, p.y}, p.type);
            }
        }
    };
    for (std::size_t group = 0; group < s.groups.size(); ++group) {
        explicitUpTo(s.groups[group].before);
        const std::size_t end = group + 1 < s.groups.size() ? s.groups[group + 1].first : s.glyphs.size();
        for (std::size_t i = s.groups[group].first; i < end; ++i)
            walkGlyph(s.glyphs[i], s.groups[group], sink);
    }
    explicitUpTo(path.size());
}

// Every glyph outline starts with a move (FreeType opens each contour with
// one), so a glyph's curve always continues an open figure.
bool glyphsStartWithMoves(const State& s)
{
    return std::all_of(s.glyphs.begin(), s.glyphs.end(),
                       [](const State::PlacedGlyph& g) { return g.outline->steps.front().kind == OutlineStep::Move; });
}

// The control points as the path holds them, in double precision.
struct ControlPoints {
    std::vector<State::PathPoint>& out;
    bool open() const { return true; }
    void point(PointF p, std::uint8_t type) { out.push_back({p.x, p.y, type}); }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType)
    {
        out.push_back({c1.x, c1.y, PT_BEZIERTO});
        out.push_back({c2.x, c2.y, PT_BEZIERTO});
        out.push_back({e.x, e.y, endType});
    }
};

// The control points as they are, straight into the caller's arrays.
struct CurvedControlPoints {
    std::vector<CurvePoint>& points;
    std::vector<std::uint8_t>& types;
    bool open() const { return true; }
    void point(PointF p, std::uint8_t type)
    {
        points.push_back({p.x, p.y});
        types.push_back(type);
    }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType)
    {
        point(c1, PT_BEZIERTO);
        point(c2, PT_BEZIERTO);
        point(e, endType);
    }
};

// The control points rounded, as GetPath reads an unflattened path.
struct RoundedControlPoints {
    std::vector<POINT>& points;
    std::vector<std::uint8_t>& types;
    bool open() const { return true; }
    void point(PointF p, std::uint8_t type)
    {
        points.push_back(devicePoint(p));
        types.push_back(type);
    }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType)
    {
        point(c1, PT_BEZIERTO);
        point(c2, PT_BEZIERTO);
        point(e, endType);
    }
};

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

// The curves of the path, each glyph that the flattening places from its
// flattened copy told as a run of that copy's curves instead.
struct CurvedGlyphs {
    CurvedControlPoints control;
    std::vector<CurvedRun>& runs;
    bool open() const { return true; }
    void point(PointF p, std::uint8_t type) { control.point(p, type); }
    void cubic(PointF c1, PointF c2, PointF e, std::uint8_t endType) { control.cubic(c1, c2, e, endType); }

    bool placed(const State::PlacedGlyph& g, const State::GlyphMap& m)
    {
        const FlatGlyph* flat = Flattener::flatAt(g, m);
        if (!flat)
            return false;
        if (!flat->curves) {
            auto curves = std::make_shared<GlyphCurves>();
            State alone;
            alone.addGlyph(g.outline, m, 0, 0);
            CurvedControlPoints at{curves->points, curves->types};
            walkPath(alone, at);
            // The copy is the glyph's own, made by this thread's path.
            const_cast<FlatGlyph*>(flat)->curves = std::move(curves);
        }
        runs.push_back({flat->serial, control.points.size(), std::int32_t(g.ox), std::int32_t(g.oy), flat->curves});
        return true;
    }
};

std::size_t flatten(const State& s, std::vector<POINT>& points, std::vector<std::uint8_t>& types,
                    const DeviceArea* area = nullptr, std::vector<GlyphRun>* runs = nullptr)
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

} // namespace

// The bound's own flattening: curves within kFlatness.
const double kFlattenedPointsFactor = 1.0;

bool BeginPath(DeviceContext& dc)
{
    auto& s = dc.state();
    s.glyphs.clear();
    s.groups.clear();
    if (s.extras) {
        s.extras->path.clear();
        s.extras->flatPoints.clear();
        s.extras->flatTypes.clear();
    }
    s.flattened = false;
    s.flatReady = false;
    s.pathState = PathState::Open;
    return true;
}

bool EndPath(DeviceContext& dc)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Open)
        return false;
    s.pathState = PathState::Closed;
    return true;
}

// The points are made when first read, by GetPath or flattenPathInto.
bool FlattenPath(DeviceContext& dc)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Closed)
        return false;
    s.flattened = true;
    s.flatReady = false;
    return true;
}

int flattenPathInto(DeviceContext& dc, std::vector<POINT>& points, std::vector<std::uint8_t>& types,
                    std::vector<GlyphRun>* runs)
{
    if (!FlattenPath(dc))
        return -1;
    return static_cast<int>(flatten(dc.state(), points, types, nullptr, runs));
}

int flattenPathWithin(DeviceContext& dc, const DeviceArea& area, std::vector<POINT>& points,
                      std::vector<std::uint8_t>& types)
{
    if (!FlattenPath(dc))
        return -1;
    return static_cast<int>(flatten(dc.state(), points, types, &area));
}

int readCurvedPath(DeviceContext& dc, std::vector<CurvePoint>& points, std::vector<std::uint8_t>& types)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Closed || s.flattened)
        return -1;
    points.clear();
    types.clear();
    CurvedControlPoints control{points, types};
    walkPath(s, control);
    return static_cast<int>(points.size());
}

int readCurvedGlyphs(DeviceContext& dc, std::vector<CurvePoint>& points, std::vector<std::uint8_t>& types,
                     std::vector<CurvedRun>& runs)
{
    runs.clear();
    auto& s = dc.state();
    // Without a move at each glyph's start the flattening reads the path
    // whole and places no copies.
    if (!glyphsStartWithMoves(s))
        return readCurvedPath(dc, points, types);
    if (s.pathState != PathState::Closed || s.flattened)
        return -1;
    points.clear();
    types.clear();
    CurvedGlyphs sink{{points, types}, runs};
    walkPath(s, sink);
    return static_cast<int>(points.size());
}

int GetPath(DeviceContext& dc, POINT* points, std::uint8_t* types, int size)
{
    auto& s = dc.state();
    if (s.pathState != PathState::Closed)
        return -1;
    auto& flat = s.madeExtras();
    if (!s.flatReady) {
        if (s.flattened) {
            flatten(s, flat.flatPoints, flat.flatTypes);
        } else {
            // Curves not yet flattened: their control points, rounded.
            flat.flatPoints.clear();
            flat.flatTypes.clear();
            RoundedControlPoints control{flat.flatPoints, flat.flatTypes};
            walkPath(s, control);
        }
        s.flatReady = s.flattened;
    }
    int n = static_cast<int>(flat.flatPoints.size());
    if (size == 0)
        return n;
    if (size < n || !points || !types)
        return -1;
    std::copy(flat.flatPoints.begin(), flat.flatPoints.end(), points);
    std::copy(flat.flatTypes.begin(), flat.flatTypes.end(), types);
    return n;
}

} // namespace lw
