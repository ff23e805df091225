#include "outline/device_context.hpp"

#include "outline/codepage.hpp"
#include "outline/flatten.hpp"
#include "outline/font_library.hpp"

#include <cmath>
#include <cstdlib>
#include <string>

namespace lw {

struct LogicalFont {
    LOGFONTA description{};
    const FontFace* face = nullptr;
    bool stock = false;
};

namespace {

constexpr double kSyntheticSlant = 0.21;
constexpr double kPi = 3.14159265358979323846;

double roundPixel(double v) { return std::floor(v + 0.5); }

// A device coordinate: the nearest pixel, held inside the 32-bit range so an
// absurd size can never overflow the conversion.
std::int32_t devicePixel(double v)
{
    constexpr double kLimit = 1073741824.0; // 2^30
    v = v + 0.5;
    if (!(v > -kLimit))
        return static_cast<std::int32_t>(-kLimit);
    if (v > kLimit)
        return static_cast<std::int32_t>(kLimit);
    auto i = static_cast<std::int32_t>(v);
    return i - (v < i);
}

std::string decodeFaceName(const std::array<char, 32>& bytes)
{
    std::size_t length = 0;
    while (length < bytes.size() && bytes[length] != '\0')
        ++length;
    std::u32string name = cp932ToCodepoints(std::string_view(bytes.data(), length));
    // A double-byte character cut in two at byte 32 leaves a lone lead byte.
    while (!name.empty() && name.back() == 0xFFFD)
        name.pop_back();
    return codepointsToUtf8(name);
}

HFONT stockFont()
{
    static LogicalFont stock = [] {
        LogicalFont f;
        f.description.lfHeight = -16;
        f.description.lfWeight = FW_NORMAL;
        f.description.lfCharSet = SHIFTJIS_CHARSET;
        f.stock = true;
        return f;
    }();
    return &stock;
}

const FontFace& faceOf(LogicalFont& font)
{
    if (!font.face)
        font.face = &resolveFace(decodeFaceName(font.description.lfFaceName),
                                 font.description.lfItalic != 0);
    return *font.face;
}

// Lays one line of glyphs into the path: layout in pixels relative to the
// reference point (y down), then the escapement's rotation about it.
class PathBuilder {
public:
    PathBuilder(double originX, double originY, double angleDegrees)
        : originX_(originX), originY_(originY)
    {
        double radians = angleDegrees * kPi / 180.0;
        cos_ = std::cos(radians);
        sin_ = std::sin(radians);
        if (std::fmod(angleDegrees, 90.0) == 0) {
            // Exact quarter turns keep pixel-exact coordinates.
            cos_ = std::round(cos_);
            sin_ = std::round(sin_);
        }
    }

    PointF device(double lx, double ly) const
    {
        // Counter-clockwise as seen on a screen whose y grows downwards.
        return {originX_ + lx * cos_ + ly * sin_, originY_ - lx * sin_ + ly * cos_};
    }

private:
    double originX_, originY_, cos_, sin_;
};

} // namespace

DeviceContext::DeviceContext(Canvas& canvas) : canvas_(&canvas), font_(stockFont()) {}
DeviceContext::~DeviceContext() = default;

HFONT CreateFontIndirectA(const LOGFONTA& description)
{
    auto* font = new LogicalFont;
    font->description = description;
    faceOf(*font);
    return font;
}

HFONT SelectObject(DeviceContext& dc, HFONT font)
{
    if (!font)
        return nullptr;
    HFONT old = dc.font_;
    dc.font_ = font;
    return old;
}

bool DeleteObject(HFONT font)
{
    if (!font || font->stock)
        return false;
    delete font;
    return true;
}

int SetBkMode(DeviceContext& dc, int mode)
{
    int old = dc.bkMode_;
    dc.bkMode_ = mode;
    return old;
}

std::uint32_t SetTextAlign(DeviceContext& dc, std::uint32_t flags)
{
    std::uint32_t old = dc.textAlign_;
    dc.textAlign_ = flags;
    return old;
}

bool SetTextJustification(DeviceContext& dc, int breakExtra, int /*breakCount*/)
{
    dc.justificationExtra_ = breakExtra;
    return true;
}

bool BeginPath(DeviceContext& dc)
{
    dc.path_.clear();
    dc.flatPoints_.clear();
    dc.flatTypes_.clear();
    dc.flattened_ = false;
    dc.pathState_ = DeviceContext::PathState::Open;
    return true;
}

bool EndPath(DeviceContext& dc)
{
    if (dc.pathState_ != DeviceContext::PathState::Open)
        return false;
    dc.pathState_ = DeviceContext::PathState::Closed;
    return true;
}

bool TextOutA(DeviceContext& dc, int x, int y, const char* bytes, int count)
{
    if (dc.pathState_ != DeviceContext::PathState::Open || !bytes || count <= 0)
        return true;
    LogicalFont& font = *dc.font_;
    const LOGFONTA& d = font.description;
    const FontFace& primary = faceOf(font);

    // Negative heights are the em height, positive ones the cell height.
    double em = d.lfHeight < 0 ? -double(d.lfHeight)
              : d.lfHeight > 0 ? double(d.lfHeight) * primary.unitsPerEm
                                     / double(primary.ascent + primary.descent)
                               : 16.0;
    double ascentPx = roundPixel(primary.ascent * em / primary.unitsPerEm);
    double descentPx = roundPixel(primary.descent * em / primary.unitsPerEm);

    thread_local std::u32string text;
    thread_local std::vector<GlyphRef> glyphs;
    thread_local std::vector<double> advances;
    text = cp932ToCodepoints(std::string_view(bytes, std::size_t(count)));
    glyphs.clear();
    advances.clear();
    double total = 0;
    for (char32_t c : text) {
        GlyphRef g = glyphFor(primary, c);
        double advance = roundPixel(g.outline->advance * em / g.face->unitsPerEm);
        glyphs.push_back(g);
        advances.push_back(advance);
        total += advance;
    }

    double startX = 0;
    if ((dc.textAlign_ & TA_CENTER) == TA_CENTER)
        startX = -std::floor(total / 2);
    else if (dc.textAlign_ & 2) // TA_RIGHT
        startX = -total;
    double baseline = ascentPx;
    if ((dc.textAlign_ & 24) == 24) // TA_BASELINE
        baseline = 0;
    else if (dc.textAlign_ & 8) // TA_BOTTOM
        baseline = -descentPx;

    PathBuilder place(x, y, d.lfEscapement / 10.0);
    auto& path = dc.path_;
    auto append = [&](double lx, double ly, std::uint8_t type) {
        PointF p = place.device(lx, ly);
        path.push_back({p.x, p.y, type});
    };

    double penX = startX;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const GlyphRef& g = glyphs[i];
        double gscale = em / g.face->unitsPerEm;
        double slant = (d.lfItalic && !g.face->italic) ? kSyntheticSlant : 0.0;
        // Font units to device pixels in one affine map: scale, slant, y
        // flip onto the baseline, then the escapement's rotation.
        PointF origin = place.device(penX, baseline);
        PointF ux = place.device(penX + gscale, baseline);
        PointF uy = place.device(penX + slant * gscale, baseline - gscale);
        const double m00 = ux.x - origin.x, m10 = ux.y - origin.y;
        const double m01 = uy.x - origin.x, m11 = uy.y - origin.y;
        auto put = [&](double fx, double fy, std::uint8_t type) {
            path.push_back({origin.x + m00 * fx + m01 * fy, origin.y + m10 * fx + m11 * fy, type});
        };
        std::size_t figureStart = path.size();
        auto closeFigure = [&] {
            if (path.size() > figureStart)
                path.back().type |= PT_CLOSEFIGURE;
        };
        double lastX = 0, lastY = 0; // font units, for conic to cubic
        for (const OutlineStep& st : g.outline->steps) {
            switch (st.kind) {
            case OutlineStep::Move:
                closeFigure();
                figureStart = path.size();
                put(st.x[0], st.y[0], PT_MOVETO);
                lastX = st.x[0];
                lastY = st.y[0];
                break;
            case OutlineStep::Line:
                put(st.x[0], st.y[0], PT_LINETO);
                lastX = st.x[0];
                lastY = st.y[0];
                break;
            case OutlineStep::Conic:
                // The exact cubic of a quadratic: controls 2/3 of the way to
                // the quadratic's control point.
                put(lastX + 2.0 / 3.0 * (st.x[0] - lastX), lastY + 2.0 / 3.0 * (st.y[0] - lastY), PT_BEZIERTO);
                put(st.x[1] + 2.0 / 3.0 * (st.x[0] - st.x[1]), st.y[1] + 2.0 / 3.0 * (st.y[0] - st.y[1]),
                    PT_BEZIERTO);
                put(st.x[1], st.y[1], PT_BEZIERTO);
                lastX = st.x[1];
                lastY = st.y[1];
                break;
            case OutlineStep::Cubic:
                for (int k = 0; k < 3; ++k)
                    put(st.x[k], st.y[k], PT_BEZIERTO);
                lastX = st.x[2];
                lastY = st.y[2];
                break;
            }
        }
        closeFigure();
        penX += advances[i];
    }

    // Underline and strikeout: one rectangle each over the whole advance.
    auto rectangle = [&](double top, double height) {
        double bottom = top + std::max(1.0, height);
        append(startX, top, PT_MOVETO);
        append(startX + total, top, PT_LINETO);
        append(startX + total, bottom, PT_LINETO);
        append(startX, bottom, PT_LINETO | PT_CLOSEFIGURE);
    };
    if (total > 0) {
        double unit = em / primary.unitsPerEm;
        if (d.lfUnderline) {
            double thickness = roundPixel(primary.underlineThickness * unit);
            double centre = baseline - primary.underlinePosition * unit;
            rectangle(roundPixel(centre - thickness / 2), thickness);
        }
        if (d.lfStrikeOut) {
            double thickness = roundPixel(primary.strikeoutSize * unit);
            rectangle(roundPixel(baseline - primary.strikeoutPosition * unit), thickness);
        }
    }
    return true;
}

bool FlattenPath(DeviceContext& dc)
{
    if (dc.pathState_ != DeviceContext::PathState::Closed)
        return false;
    auto& points = dc.flatPoints_;
    auto& types = dc.flatTypes_;
    points.clear();
    types.clear();
    std::size_t start = 0;
    bool open = false;

    // Points are rounded as they are made; one that repeats the previous
    // point adds nothing and is dropped at once.
    auto add = [&](PointF p) {
        POINT q{devicePixel(p.x), devicePixel(p.y)};
        if (points.size() > start && points.back() == q)
            return;
        points.push_back(q);
    };
    auto finishFigure = [&] {
        // The figure closes itself; a last point on the first adds nothing.
        while (points.size() - start > 1 && points.back() == points[start])
            points.pop_back();
        std::size_t n = points.size() - start;
        if (n < 2) {
            points.resize(start);
        } else {
            types.push_back(PT_MOVETO);
            types.insert(types.end(), n - 2, PT_LINETO);
            types.push_back(PT_LINETO | PT_CLOSEFIGURE);
        }
        open = false;
    };

    const auto& path = dc.path_;
    PointF last{};
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto& p = path[i];
        std::uint8_t kind = p.type & ~PT_CLOSEFIGURE;
        std::uint8_t endType = p.type;
        if (kind == PT_MOVETO || !open) {
            if (open)
                finishFigure();
            start = points.size();
            open = true;
            add({p.x, p.y});
            last = {p.x, p.y};
        } else if (kind == PT_BEZIERTO && i + 2 < path.size()) {
            const auto& c2 = path[i + 1];
            const auto& e = path[i + 2];
            flattenCubic(last, {p.x, p.y}, {c2.x, c2.y}, {e.x, e.y}, kFlatness, add);
            last = {e.x, e.y};
            endType = e.type;
            i += 2;
        } else {
            add({p.x, p.y});
            last = {p.x, p.y};
        }
        if (endType & PT_CLOSEFIGURE)
            finishFigure();
    }
    // An open last figure (never made by text) still ends closed.
    if (open)
        finishFigure();
    dc.flattened_ = true;
    return true;
}

int GetPath(DeviceContext& dc, POINT* points, std::uint8_t* types, int size)
{
    if (dc.pathState_ != DeviceContext::PathState::Closed)
        return -1;
    if (!dc.flattened_) {
        // Curves not yet flattened: their control points, rounded.
        dc.flatPoints_.clear();
        dc.flatTypes_.clear();
        for (const auto& p : dc.path_) {
            dc.flatPoints_.push_back({devicePixel(p.x), devicePixel(p.y)});
            dc.flatTypes_.push_back(p.type);
        }
    }
    int n = static_cast<int>(dc.flatPoints_.size());
    if (size == 0)
        return n;
    if (size < n || !points || !types)
        return -1;
    std::copy(dc.flatPoints_.begin(), dc.flatPoints_.end(), points);
    std::copy(dc.flatTypes_.begin(), dc.flatTypes_.end(), types);
    return n;
}

bool Polygon(DeviceContext& dc, const POINT* points, int count)
{
    if (!points || count < 2)
        return false;
    if (dc.pathState_ == DeviceContext::PathState::Open) {
        for (int i = 0; i < count; ++i) {
            std::uint8_t type = i == 0 ? PT_MOVETO : PT_LINETO;
            if (i == count - 1)
                type |= PT_CLOSEFIGURE;
            dc.path_.push_back({double(points[i].x), double(points[i].y), type});
        }
        return true;
    }
    dc.canvas_->polygon(std::span<const POINT>(points, std::size_t(count)), dc.pen_);
    return true;
}

bool MoveToEx(DeviceContext& dc, int x, int y, POINT* old)
{
    if (old)
        *old = dc.position_;
    dc.position_ = {x, y};
    if (dc.pathState_ == DeviceContext::PathState::Open)
        dc.path_.push_back({double(x), double(y), PT_MOVETO});
    return true;
}

bool LineTo(DeviceContext& dc, int x, int y)
{
    POINT to{x, y};
    if (dc.pathState_ == DeviceContext::PathState::Open)
        dc.path_.push_back({double(x), double(y), PT_LINETO});
    else
        dc.canvas_->line(dc.position_, to, dc.pen_);
    dc.position_ = to;
    return true;
}

} // namespace lw
