#include "outline/arc_layout.hpp"

#include <cmath>
#include <numbers>

namespace lw {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

} // namespace

double arcLength(const std::vector<double>& advances, double spacing)
{
    double length = 0;
    for (const double a : advances)
        length += a;
    return advances.empty() ? 0 : length + spacing * double(advances.size() - 1);
}

double spacingToFit(const std::vector<double>& advances, double radius, double degrees)
{
    if (advances.size() < 2)
        return 0;
    const double wanted = std::fabs(radius) * degrees * kDegree;
    return (wanted - arcLength(advances, 0)) / double(advances.size() - 1);
}

std::vector<ArcGlyph> arcGlyphs(const ArcLine& line, const std::vector<double>& advances, double spacing)
{
    std::vector<ArcGlyph> glyphs;
    if (line.radius == 0)
        return glyphs;
    glyphs.reserve(advances.size());
    const double length = arcLength(advances, spacing);
    const double before = line.along == ArcAlong::Start ? 0 : line.along == ArcAlong::End ? length : length / 2;
    // Along the text the angle falls outside (clockwise) and rises inside,
    // so the signed radius turns a length into the angle it spans.
    const double start = line.atDegrees * kDegree + before / line.radius;
    const double upright = line.radius > 0 ? -90 : 90;
    const double r = std::fabs(line.radius);
    double pen = 0;
    for (const double a : advances) {
        const double angle = start - (pen + a / 2) / line.radius;
        glyphs.push_back({angle / kDegree, angle / kDegree + upright, r * std::cos(angle), r * std::sin(angle)});
        pen += a + spacing;
    }
    return glyphs;
}

ArcPoint arcPointAt(const ArcLine& line, double rise)
{
    const double r = line.radius > 0 ? line.radius + rise : -line.radius - rise;
    return {r * std::cos(line.atDegrees * kDegree), r * std::sin(line.atDegrees * kDegree)};
}

} // namespace lw
