#pragma once
// Device points: flattened points rounded to whole pixels, the last step of
// every capture and most of its work. Where the processor has SSE2 (every
// x86-64), x and y go through each step together in one register's two
// lanes. Each lane takes the very operations the scalar code takes, in the
// same order, and the target has no fused multiply-add to contract them
// into, so the points are bit for bit those of flattenCubic and devicePixel.

#include "platform/freetype/flatten.hpp"
#include "platform/gdi_types.hpp"

#include <algorithm>
#include <cstdint>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lw {

// A device coordinate: the nearest pixel, half-way up, held inside the
// 32-bit range so an absurd size can never overflow the conversion; not a
// number gives the lower limit.
inline std::int32_t devicePixel(double v)
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

#if defined(__SSE2__)

namespace lanes {

// x in the low lane, y in the high.
using Pair = __m128d;

inline Pair pair(PointF p)
{
    return _mm_setr_pd(p.x, p.y);
}

inline double sum(Pair v)
{
    return _mm_cvtsd_f64(v) + _mm_cvtsd_f64(_mm_unpackhi_pd(v, v));
}

inline POINT devicePoint(Pair v)
{
    const Pair limit = _mm_set1_pd(1073741824.0);
    v = _mm_add_pd(v, _mm_set1_pd(0.5));
    // max gives its second operand for a NaN: the lower limit.
    v = _mm_min_pd(_mm_max_pd(v, _mm_sub_pd(_mm_setzero_pd(), limit)), limit);
    __m128i i = _mm_cvttpd_epi32(v);
    // Truncation went up wherever the value lies below it: one less there.
    __m128i up = _mm_castpd_si128(_mm_cmplt_pd(v, _mm_cvtepi32_pd(i)));
    i = _mm_add_epi32(i, _mm_shuffle_epi32(up, _MM_SHUFFLE(3, 1, 2, 0)));
    POINT q;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(&q), i);
    return q;
}

template <typename Sink>
void flattenCubicToDevice(Pair p0, Pair p1, Pair p2, Pair p3, double tolerance, Sink&& sink)
{
    const Pair two = _mm_set1_pd(2), three = _mm_set1_pd(3);
    const Pair a = _mm_add_pd(_mm_sub_pd(p0, _mm_mul_pd(two, p1)), p2);
    const Pair b = _mm_add_pd(_mm_sub_pd(p1, _mm_mul_pd(two, p2)), p3);
    const int n = flatteningSegments(std::max(sum(_mm_mul_pd(a, a)), sum(_mm_mul_pd(b, b))), tolerance);
    // B(t) = a t^3 + b t^2 + c t + p0, as flattenCubic has it.
    const Pair c1 = _mm_mul_pd(three, _mm_sub_pd(p1, p0));
    const Pair c2 = _mm_mul_pd(three, _mm_add_pd(_mm_sub_pd(p2, _mm_mul_pd(two, p1)), p0));
    const Pair c3 = _mm_sub_pd(_mm_sub_pd(_mm_sub_pd(p3, p0), c1), c2);
    const double step = 1.0 / n;
    for (int i = 1; i < n; ++i) {
        const Pair t = _mm_set1_pd(i * step);
        sink(devicePoint(_mm_add_pd(_mm_mul_pd(_mm_add_pd(_mm_mul_pd(_mm_add_pd(_mm_mul_pd(c3, t), c2), t), c1), t), p0)));
    }
    sink(devicePoint(p3));
}

// The same points written at `end`, where end[-1] is the previous point;
// a point equal to the one before it is overwritten by the next, with no
// branch to guess. `room(n)` is asked first for n more slots and gives the
// end pointer back, moved if the array had to grow.
template <typename Room>
POINT* flattenCubicToArray(Pair p0, Pair p1, Pair p2, Pair p3, double tolerance, POINT* end, Room&& room)
{
    const Pair two = _mm_set1_pd(2), three = _mm_set1_pd(3);
    const Pair a = _mm_add_pd(_mm_sub_pd(p0, _mm_mul_pd(two, p1)), p2);
    const Pair b = _mm_add_pd(_mm_sub_pd(p1, _mm_mul_pd(two, p2)), p3);
    const int n = flatteningSegments(std::max(sum(_mm_mul_pd(a, a)), sum(_mm_mul_pd(b, b))), tolerance);
    end = room(std::size_t(n));
    const Pair c1 = _mm_mul_pd(three, _mm_sub_pd(p1, p0));
    const Pair c2 = _mm_mul_pd(three, _mm_add_pd(_mm_sub_pd(p2, _mm_mul_pd(two, p1)), p0));
    const Pair c3 = _mm_sub_pd(_mm_sub_pd(_mm_sub_pd(p3, p0), c1), c2);
    const double step = 1.0 / n;
    auto put = [&end](POINT q) {
        const bool repeat = q == end[-1];
        *end = q;
        end += !repeat;
    };
    for (int i = 1; i < n; ++i) {
        const Pair t = _mm_set1_pd(i * step);
        put(devicePoint(_mm_add_pd(_mm_mul_pd(_mm_add_pd(_mm_mul_pd(_mm_add_pd(_mm_mul_pd(c3, t), c2), t), c1), t), p0)));
    }
    put(devicePoint(p3));
    return end;
}

} // namespace lanes

inline POINT devicePoint(PointF p)
{
    return lanes::devicePoint(lanes::pair(p));
}

// flattenCubic, each point rounded by devicePoint as it is made. The curve
// goes over as lane pairs, which travel in registers; handed over as PointF
// the same work measured a third slower.
template <typename Sink>
void flattenCubicToDevice(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance, Sink&& sink)
{
    lanes::flattenCubicToDevice(lanes::pair(p0), lanes::pair(p1), lanes::pair(p2), lanes::pair(p3), tolerance,
                                std::forward<Sink>(sink));
}

template <typename Room>
POINT* flattenCubicToArray(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance, POINT* end, Room&& room)
{
    return lanes::flattenCubicToArray(lanes::pair(p0), lanes::pair(p1), lanes::pair(p2), lanes::pair(p3), tolerance,
                                      end, std::forward<Room>(room));
}

#else

inline POINT devicePoint(PointF p)
{
    return {devicePixel(p.x), devicePixel(p.y)};
}

template <typename Sink>
void flattenCubicToDevice(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance, Sink&& sink)
{
    flattenCubic(p0, p1, p2, p3, tolerance, [&sink](PointF p) { sink(devicePoint(p)); });
}

template <typename Room>
POINT* flattenCubicToArray(PointF p0, PointF p1, PointF p2, PointF p3, double tolerance, POINT* end, Room&& room)
{
    end = room(std::size_t(flatteningSegments(p0, p1, p2, p3, tolerance)));
    flattenCubicToDevice(p0, p1, p2, p3, tolerance, [&end](POINT q) {
        const bool repeat = q == end[-1];
        *end = q;
        end += !repeat;
    });
    return end;
}

#endif

} // namespace lw
