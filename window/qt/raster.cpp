#include "window/qt/raster.hpp"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace lw {
namespace {

// Products of two 32-bit differences and a factor of 2 overflow 64 bits.
__extension__ typedef __int128 Wide;

// floor(n / d) for d > 0.
std::int64_t floorDiv(Wide n, std::int64_t d)
{
    Wide q = n / d;
    return static_cast<std::int64_t>(q - (n % d < 0));
}

// floor(n / d) for d > 0, in 64 bits.
std::int64_t floorDiv64(std::int64_t n, std::int64_t d) { return n / d - (n % d < 0); }

// floor(n / d) for d > 0, in 32 bits.
std::int64_t floorDiv32(std::int32_t n, std::int32_t d) { return n / d - (n % d < 0); }

// An edge that crosses at least one row's centre line inside the buffer.
struct Edge {
    std::int64_t x, y;   // its upper end
    std::int64_t dx, dy; // to its lower end, dy > 0
    int first, last;     // the rows whose centres it crosses, clipped to the buffer
    int winding;         // +1 going down, -1 going up
};

// Where an edge crosses one row after another, exactly: the first column
// whose pixel centre lies at or right of the crossing. On row r that is
// x + ceil(n / d) with n = (2 (r - y) + 1) dx - dy and d = 2 dy; n grows by
// 2 dx a row, so a quotient and remainder step along without dividing.
class Crossings {
public:
    // From row `from`, one of the edge's rows; `more`: rows after it wanted.
    Crossings(const Edge& e, int from, bool more) : divisor_(2 * e.dy), x_(e.x)
    {
        const std::int64_t twice = 2 * (std::int64_t(from) - e.y) + 1;
        constexpr std::int64_t kSmall = std::int64_t(1) << 30;
        // ceil(n / d) = -floor(-n / d); small enough, all in 64 bits, and
        // the divisions in 32 where they fit: most edges of a glyph at a
        // screen size cross a row or two, and a 64-bit division cost more
        // than the rest of the edge's work.
        const bool small = twice < kSmall && e.dx < kSmall && e.dx > -kSmall;
        const bool narrow = small && divisor_ < kSmall && e.dx * twice < kSmall && e.dx * twice > -kSmall;
        if (narrow) {
            const auto n = std::int32_t(twice * e.dx - e.dy), d = std::int32_t(divisor_);
            quotient_ = -floorDiv32(-n, d);
            remainder_ = quotient_ * divisor_ - n;
        } else if (small) {
            const std::int64_t n = twice * e.dx - e.dy;
            quotient_ = -floorDiv64(-n, divisor_);
            remainder_ = quotient_ * divisor_ - n;
        } else {
            const Wide n = Wide(twice) * e.dx - e.dy;
            quotient_ = -floorDiv(-n, divisor_);
            remainder_ = static_cast<std::int64_t>(Wide(quotient_) * divisor_ - n);
        }
        if (!more)
            return;
        stepQuotient_ = narrow ? floorDiv32(std::int32_t(2 * e.dx), std::int32_t(divisor_)) : floorDiv64(2 * e.dx, divisor_);
        stepRemainder_ = 2 * e.dx - stepQuotient_ * divisor_;
    }
    // This row's column, then on to the next row.
    std::int64_t next()
    {
        const std::int64_t column = x_ + quotient_;
        quotient_ += stepQuotient_;
        remainder_ -= stepRemainder_;
        if (remainder_ < 0) {
            remainder_ += divisor_;
            ++quotient_;
        }
        return column;
    }

private:
    std::int64_t divisor_, x_;
    std::int64_t quotient_ = 0, remainder_ = 0; // quotient * divisor - n, in [0, divisor)
    std::int64_t stepQuotient_ = 0, stepRemainder_ = 0;
};

enum class Reach { None, Clipped, Whole };

// How much of the polygon's box lies in the buffer.
Reach reachOf(const Pixels& pixels, std::span<const POINT> polygon)
{
    if (polygon.empty())
        return Reach::None;
    std::int32_t left = polygon[0].x, right = left, top = polygon[0].y, bottom = top;
    for (const POINT& p : polygon) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    if (right < 0 || left >= pixels.width || bottom < 0 || top >= pixels.height)
        return Reach::None;
    return left >= 0 && right < pixels.width && top >= 0 && bottom < pixels.height ? Reach::Whole : Reach::Clipped;
}

// Whether the polygon's box meets the buffer.
bool reaches(const Pixels& pixels, std::span<const POINT> polygon) { return reachOf(pixels, polygon) != Reach::None; }

// drawLine's steps for a line whose ends both lie in the buffer, and so
// every pixel between: nothing to clip or test. A glyph's outline at a
// screen size is mostly edges of a pixel or two, where drawLine's set-up
// for clipping cost more than the pixels.
void drawLineInside(const Pixels& pixels, POINT from, POINT to, std::uint32_t colour)
{
    const int dx = to.x - from.x, dy = to.y - from.y;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    int major0 = alongX ? from.x : from.y, minor0 = alongX ? from.y : from.x;
    int run = alongX ? dx : dy, rise = alongX ? dy : dx;
    if (run < 0) {
        major0 += run;
        minor0 += rise;
        run = -run;
        rise = -rise;
    }
    const std::ptrdiff_t majorStride = alongX ? 1 : pixels.stride, minorStride = alongX ? pixels.stride : 1;
    std::uint32_t* at = pixels.bits + major0 * majorStride + minor0 * minorStride;
    const int divisor = 2 * run;
    int remainder = run;
    for (int k = 0;; ++k) {
        *at = colour;
        if (k == run)
            break;
        at += majorStride;
        remainder += 2 * rise;
        if (remainder >= divisor) {
            remainder -= divisor;
            at += minorStride;
        } else if (remainder < 0) {
            remainder += divisor;
            at -= minorStride;
        }
    }
}

// Sorts a row's crossings by insertion while that moves few of them, and
// tells whether it finished. A line of text lays its glyphs one after
// another, so a row's crossings come nearly in order: each glyph's few
// among themselves. A row far from order stops at `moves`, still a
// permutation of what it was.
bool sortNearlyInOrder(std::uint32_t* first, std::uint32_t* last, std::size_t moves)
{
    for (std::uint32_t* next = first + (first != last); next < last; ++next) {
        const std::uint32_t key = *next;
        std::uint32_t* at = next;
        for (; at != first && at[-1] > key; --at) {
            *at = at[-1];
            if (moves-- == 0) {
                *(at - 1) = key;
                return false;
            }
        }
        *at = key;
    }
    return true;
}

// Sorts one row's crossings. A long row of keys of 16 bits (a buffer under
// 32,768 pixels across) goes by two passes of counting on their bytes: a
// line of text at the design's size crosses its rows dozens of times, and
// comparing them cost a seventh of a keystroke.
void sortCrossings(std::uint32_t* first, std::uint32_t* last, std::vector<std::uint32_t>& scratch, bool shortKeys)
{
    const std::size_t n = std::size_t(last - first);
    if (sortNearlyInOrder(first, last, 4 * n + 16))
        return;
    if (n <= 64 || !shortKeys) {
        std::sort(first, last);
        return;
    }
    scratch.resize(n);
    std::size_t low[257] = {}, high[257] = {};
    for (const std::uint32_t* c = first; c != last; ++c) {
        ++low[(*c & 0xFF) + 1];
        ++high[(*c >> 8 & 0xFF) + 1];
    }
    for (int b = 1; b <= 256; ++b) {
        low[b] += low[b - 1];
        high[b] += high[b - 1];
    }
    for (const std::uint32_t* c = first; c != last; ++c)
        scratch[low[*c & 0xFF]++] = *c;
    for (const std::uint32_t c : scratch)
        first[high[c >> 8 & 0xFF]++] = c;
}

void put(const Pixels& pixels, std::int64_t x, std::int64_t y, std::uint32_t colour)
{
    if (x >= 0 && y >= 0 && x < pixels.width && y < pixels.height)
        pixels.bits[y * pixels.stride + x] = colour;
}

} // namespace

struct FillWorkspace::Buffers {
    std::vector<Edge> edges;
    std::vector<std::size_t> count, end;
    std::vector<std::uint32_t> crossings, scratch;
};

FillWorkspace::FillWorkspace() : buffers_(std::make_unique<Buffers>()) {}

FillWorkspace::~FillWorkspace() = default;

void fillNonzero(const Pixels& pixels, std::span<const std::span<const POINT>> polygons, std::uint32_t colour,
                 PixelBox clear, std::uint32_t background)
{
    FillWorkspace workspace;
    fillNonzero(pixels, polygons, colour, workspace, clear, background);
}

void fillNonzero(const Pixels& pixels, std::span<const std::span<const POINT>> polygons, std::uint32_t colour,
                 FillWorkspace& workspace, PixelBox clear, std::uint32_t background)
{
    if (pixels.width <= 0 || pixels.height <= 0)
        return;
    clear = {std::max(clear.left, 0), std::max(clear.top, 0), std::min(clear.right, pixels.width - 1),
             std::min(clear.bottom, pixels.height - 1)};
    FillWorkspace::Buffers& buffers = workspace.buffers();
    std::vector<Edge>& edges = buffers.edges;
    edges.clear();
    int top = pixels.height, bottom = -1;
    for (std::span<const POINT> polygon : polygons) {
        // A closed polygon wholly beside the buffer winds nothing in it: its
        // crossings on a row all fall before the first pixel, or after the
        // last, and sum to zero. A long line of text is mostly such glyphs.
        if (!reaches(pixels, polygon))
            continue;
        const std::size_t n = polygon.size();
        for (std::size_t i = 0; n > 1 && i < n; ++i) {
            POINT a = polygon[i], b = polygon[i + 1 < n ? i + 1 : 0];
            if (a.y == b.y)
                continue; // crosses no centre line
            int winding = 1;
            if (a.y > b.y) {
                std::swap(a, b);
                winding = -1;
            }
            // Rows y whose centre y + 0.5 lies in [a.y, b.y).
            const int first = std::max<int>(a.y, 0);
            const int last = static_cast<int>(std::min<std::int64_t>(std::int64_t(b.y) - 1, pixels.height - 1));
            if (first > last)
                continue;
            edges.push_back({a.x, a.y, std::int64_t(b.x) - a.x, std::int64_t(b.y) - a.y, first, last, winding});
            top = std::min(top, first);
            bottom = std::max(bottom, last);
        }
    }
    if (edges.empty()) {
        fillBox(pixels, clear, background);
        return;
    }

    // Each row's crossings, as (column << 1 | going down), laid out row
    // after row. A crossing's column is the first pixel whose centre lies at
    // or right of it; in column order, a running sum of the windings is then
    // the winding number from each crossing to the next. The work goes with
    // the crossings, not with the pixels between them.
    const int width = pixels.width;
    const std::size_t rows = std::size_t(bottom - top + 1);
    std::vector<std::size_t>& count = buffers.count; // crossings per row
    count.assign(rows + 1, 0);
    for (const Edge& e : edges) {
        count[std::size_t(e.first - top)] += 1;
        count[std::size_t(e.last - top) + 1] -= 1;
    }
    std::size_t open = 0;
    for (std::size_t& c : count)
        c = open += c;

    const bool clearing = !clear.empty();
    const bool shortKeys = width < (1 << 15);
    std::vector<std::uint32_t>& scratch = buffers.scratch;
    // One row, from its crossings sorted in place; [first, last) may be empty.
    const auto paintRow = [&](int y, std::uint32_t* first, std::uint32_t* last) {
        std::uint32_t* row = pixels.bits + y * pixels.stride;
        const bool clearRow = clearing && y >= clear.top && y <= clear.bottom;
        int cleared = clear.left; // the background is written up to here
        const auto span = [&](int from, int to) {
            const int upTo = std::min(from, clear.right + 1);
            if (clearRow && cleared < upTo)
                std::fill(row + cleared, row + upTo, background);
            std::fill(row + from, row + to, colour);
            cleared = std::max(cleared, to);
        };
        sortCrossings(first, last, scratch, shortKeys);
        int winding = 0, from = 0;
        for (const std::uint32_t* c = first; c != last; ++c) {
            const int column = int(*c >> 1);
            const int before = winding;
            winding += (*c & 1) ? 1 : -1;
            if (before == 0)
                from = column;
            else if (winding == 0)
                span(from, column);
        }
        // Past the last crossing the winding stays as it is.
        if (winding != 0)
            span(from, width);
        if (clearRow && cleared <= clear.right)
            std::fill(row + cleared, row + clear.right + 1, background);
    };

    for (int y = clearing ? clear.top : top; y < top; ++y)
        paintRow(y, nullptr, nullptr);
    // Rows go in bands of a bounded number of crossings (a band holds at
    // least one row, whose crossings are at most the edges): the memory stays
    // that of the outline whatever its height.
    constexpr std::size_t kBandCrossings = std::size_t(1) << 16;
    std::vector<std::uint32_t>& crossings = buffers.crossings;
    std::vector<std::size_t>& end = buffers.end;
    end.resize(rows);
    for (int bandTop = top; bandTop <= bottom;) {
        int bandBottom = bandTop;
        std::size_t total = count[std::size_t(bandTop - top)];
        while (bandBottom < bottom && total + count[std::size_t(bandBottom + 1 - top)] <= kBandCrossings)
            total += count[std::size_t(++bandBottom - top)];
        crossings.resize(total);
        std::size_t at = 0;
        for (int y = bandTop; y <= bandBottom; ++y) {
            end[std::size_t(y - top)] = at; // the row's run begins here, and grows
            at += count[std::size_t(y - top)];
        }
        for (const Edge& e : edges) {
            const int from = std::max(e.first, bandTop), to = std::min(e.last, bandBottom);
            if (from > to)
                continue;
            const std::uint32_t down = e.winding > 0;
            Crossings along(e, from, to > from);
            for (int y = from; y <= to; ++y) {
                const std::int64_t column = std::max<std::int64_t>(along.next(), 0);
                if (column < width) // else it changes no pixel of the row
                    crossings[end[std::size_t(y - top)]++] = std::uint32_t(column) << 1 | down;
            }
        }
        std::size_t begin = 0;
        for (int y = bandTop; y <= bandBottom; ++y) {
            paintRow(y, crossings.data() + begin, crossings.data() + end[std::size_t(y - top)]);
            begin += count[std::size_t(y - top)];
        }
        bandTop = bandBottom + 1;
    }
    for (int y = bottom + 1; clearing && y <= clear.bottom; ++y)
        paintRow(y, nullptr, nullptr);
}

void drawLine(const Pixels& pixels, POINT from, POINT to, std::uint32_t colour)
{
    std::int64_t dx = std::int64_t(to.x) - from.x, dy = std::int64_t(to.y) - from.y;
    if (dx == 0 && dy == 0) {
        put(pixels, from.x, from.y, colour);
        return;
    }
    // One pixel at each step along the longer axis, the other coordinate
    // rounded half up: the steps that fall inside the buffer along that axis.
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    std::int64_t major0 = alongX ? from.x : from.y, minor0 = alongX ? from.y : from.x;
    std::int64_t run = alongX ? dx : dy, rise = alongX ? dy : dx;
    if (run < 0) {
        major0 += run;
        minor0 += rise;
        run = -run;
        rise = -rise;
    }
    const std::int64_t extent = alongX ? pixels.width : pixels.height;
    const std::int64_t low = std::max<std::int64_t>(major0, 0);
    const std::int64_t high = std::min<std::int64_t>(major0 + run, extent - 1);
    if (low > high)
        return;
    // minor = minor0 + floor((2 k rise + run) / (2 run)) at step k; kept as a
    // quotient and remainder, each step moves the remainder by 2 rise, which
    // is never more than the divisor.
    const std::int64_t divisor = 2 * run;
    std::int64_t minor = minor0, remainder = run;
    if (low > major0) { // a line that starts before the buffer
        const Wide start = Wide(2) * (low - major0) * rise + run;
        minor += floorDiv(start, divisor);
        remainder = static_cast<std::int64_t>(start - Wide(minor - minor0) * divisor);
    }
    // The steps are inside along the major axis; only the minor is tested.
    const std::int64_t minorExtent = alongX ? pixels.height : pixels.width;
    const std::ptrdiff_t majorStride = alongX ? 1 : pixels.stride, minorStride = alongX ? pixels.stride : 1;
    if (rise == 0) { // along a row or a column: nothing to step
        if (minor < 0 || minor >= minorExtent)
            return;
        std::uint32_t* at = pixels.bits + minor * minorStride;
        if (alongX)
            std::fill(at + low, at + high + 1, colour);
        else
            for (std::int64_t major = low; major <= high; ++major)
                at[major * majorStride] = colour;
        return;
    }
    for (std::int64_t major = low; major <= high; ++major) {
        if (minor >= 0 && minor < minorExtent)
            pixels.bits[major * majorStride + minor * minorStride] = colour;
        remainder += 2 * rise;
        if (remainder >= divisor) {
            remainder -= divisor;
            ++minor;
        } else if (remainder < 0) {
            remainder += divisor;
            --minor;
        }
    }
}

void drawPolygon(const Pixels& pixels, std::span<const POINT> polygon, std::uint32_t colour)
{
    const Reach reach = reachOf(pixels, polygon);
    if (reach == Reach::None)
        return;
    const std::size_t n = polygon.size();
    if (n == 1)
        put(pixels, polygon[0].x, polygon[0].y, colour);
    for (std::size_t i = 0; n > 1 && i < n; ++i) {
        const POINT from = polygon[i], to = polygon[i + 1 < n ? i + 1 : 0];
        if (reach == Reach::Whole)
            drawLineInside(pixels, from, to, colour);
        else
            drawLine(pixels, from, to, colour);
    }
}

void fillBox(const Pixels& pixels, PixelBox box, std::uint32_t colour)
{
    const int left = std::max(box.left, 0), right = std::min(box.right, pixels.width - 1);
    const int top = std::max(box.top, 0), bottom = std::min(box.bottom, pixels.height - 1);
    for (int y = top; left <= right && y <= bottom; ++y) {
        std::uint32_t* row = pixels.bits + y * pixels.stride;
        std::fill(row + left, row + right + 1, colour);
    }
}

} // namespace lw
