#include "form/tool_marks.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>

namespace lw {
namespace {

POINT at(double x, double y)
{
    // Far off the preview a mark is clipped by the canvas; the cast must
    // still hold the number.
    const auto clamp = [](double v) { return std::int32_t(std::clamp(std::round(v), -1e9, 1e9)); };
    return {clamp(x), clamp(y)};
}

// Seven segments in a 3 x 6 pixel cell: the label needs digits and a point
// only, and no view's text drawing then differs from another's.
constexpr std::uint8_t kDigitSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
constexpr int kSegmentEnds[7][4] = {{0, 0, 3, 0}, {3, 0, 3, 3}, {3, 3, 3, 6}, {0, 6, 3, 6},
                                    {0, 3, 0, 6}, {0, 0, 0, 3}, {0, 3, 3, 3}};

void drawLabel(Canvas& canvas, std::string_view label, double left, double top, Rgb pen)
{
    double x = left;
    for (const char c : label) {
        if (c == '.') {
            // Two pixels square: one pixel reads as a speck, not a point.
            canvas.line(at(x, top + 5), at(x + 1, top + 5), pen);
            canvas.line(at(x, top + 6), at(x + 1, top + 6), pen);
            x += 3;
            continue;
        }
        if (c < '0' || c > '9')
            continue;
        const std::uint8_t segments = kDigitSegments[c - '0'];
        for (int s = 0; s < 7; ++s)
            if (segments & (1u << s)) {
                const int* e = kSegmentEnds[s];
                canvas.line(at(x + e[0], top + e[1]), at(x + e[2], top + e[3]), pen);
            }
        x += 5;
    }
}

void drawDisc(Canvas& canvas, double cx, double cy, double diameter, Rgb pen)
{
    const double r = std::max(diameter, kLeastMarkPixels) / 2;
    for (double dy = -std::floor(r); dy <= r; ++dy) {
        const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
        canvas.line(at(cx - half, cy + dy), at(cx + half, cy + dy), pen);
    }
}

void drawRing(Canvas& canvas, double cx, double cy, double radius, Rgb pen)
{
    constexpr int kSides = 16;
    for (int k = 0; k < kSides; ++k) {
        const double a = 2 * std::numbers::pi * k / kSides, b = 2 * std::numbers::pi * (k + 1) / kSides;
        canvas.line(at(cx + radius * std::cos(a), cy + radius * std::sin(a)),
                    at(cx + radius * std::cos(b), cy + radius * std::sin(b)), pen);
    }
}

} // namespace

std::optional<double> typedToolSize(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    double mm = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), mm);
    if (error != std::errc() || end != text.data() + text.size() || !(mm > 0 && mm <= kToolLimitMm))
        return std::nullopt;
    return mm;
}

double decodeToolSize(const std::optional<std::string>& stored)
{
    return stored ? typedToolSize(*stored).value_or(kDefaultToolMm) : kDefaultToolMm;
}

std::string encodeToolSize(double mm)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, mm);
    return std::string(text, error == std::errc() ? end : text);
}

Rgb markColour(ToolMark::Kind kind)
{
    switch (kind) {
    case ToolMark::Kind::Material: return {0xE0, 0x10, 0x10};
    case ToolMark::Kind::Gap: return {0xF0, 0x80, 0x00};
    case ToolMark::Kind::Island: return {0x10, 0x50, 0xE0};
    }
    return {};
}

std::vector<ToolMark> toolMarks(const ToolReport& report, const MarkFrame& frame)
{
    std::vector<ToolMark> marks;
    const auto place = [&](ToolMark::Kind kind, const ReportPlace& p, double widthMm) {
        ToolMark mark{kind, frame.originX + p.x * frame.pixelsPerMm, frame.originY - p.y * frame.pixelsPerMm,
                      widthMm * frame.pixelsPerMm, {}};
        if (kind != ToolMark::Kind::Island) {
            char label[32];
            std::snprintf(label, sizeof label, "%.2f", widthMm);
            mark.label = label;
        } else {
            mark.diameter = 0;
        }
        marks.push_back(std::move(mark));
    };
    for (const ReportWidth& w : report.materialTooThin)
        place(ToolMark::Kind::Material, w.at, w.width);
    for (const ReportWidth& w : report.gapTooNarrow)
        place(ToolMark::Kind::Gap, w.at, w.width);
    for (const ReportIsland& island : report.islands)
        place(ToolMark::Kind::Island, island.at, 0);
    return marks;
}

void drawToolMarks(Canvas& canvas, std::span<const ToolMark> marks)
{
    for (const ToolMark& mark : marks) {
        const Rgb pen = markColour(mark.kind);
        if (mark.kind == ToolMark::Kind::Island) {
            drawRing(canvas, mark.x, mark.y, 4, pen);
            continue;
        }
        drawDisc(canvas, mark.x, mark.y, mark.diameter, pen);
        const double r = std::max(mark.diameter, kLeastMarkPixels) / 2;
        drawLabel(canvas, mark.label, mark.x + r + 3, mark.y - 3, pen);
    }
}

} // namespace lw
