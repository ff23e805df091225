#include "outline/glyph_points.hpp"

#include "base/utf8.hpp"
#include "outline/text_output.hpp"
#include "outline/work_bound.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace lw {

GlyphPointCounts::GlyphPointCounts(std::string_view text, const WindowFont& font, std::int32_t angle,
                                   const TextStyle& style)
    : text_(text), font_(font), angle_(angle), style_(style)
{
}

std::uint64_t GlyphPointCounts::estimateWithin(double dpi, std::uint64_t limit, double offsetPixels)
{
    const std::uint64_t bound = estimateOffsetPoints(
        estimateOutlinePoints(text_, font_.size, dpi, font_.underline, font_.strikeout, style_.widthPercent), text_,
        offsetPixels);
    return bound <= limit ? bound : estimateOffsetPoints(estimate(dpi), text_, offsetPixels);
}

LOGFONT GlyphPointCounts::fontAt(const WindowFont& font, int level)
{
    LOGFONT logFont{};
    setLogFont(logFont, font.faceName, 1 << level, angle_, font);
    applyTextStyle(*dc_, logFont, style_);
    return logFont;
}

int GlyphPointCounts::pointsOf(const LOGFONT& logFont, std::string_view bytes)
{
    BeginPath(*dc_);
    outputText(*dc_, logFont, bytes, 0, 0, 0);
    EndPath(*dc_);
    FlattenPath(*dc_);
    return std::max(0, GetPath(*dc_, nullptr, nullptr, 0));
}

double GlyphPointCounts::pointsAtLevel(int level)
{
    if (done_[level])
        return measured_[level];
    if (!counted_) {
        std::unordered_map<std::string_view, std::size_t> index;
        const std::string_view text = text_;
        for (std::size_t i = 0; i < text.size();) {
            std::size_t end = i + 1;
            while (end < text.size() && isUtf8Continuation(static_cast<unsigned char>(text[end])))
                ++end;
            const auto [at, added] = index.try_emplace(text.substr(i, end - i), characters_.size());
            if (added)
                characters_.push_back({std::string(text.substr(i, end - i)), 0});
            ++characters_[at->second].count;
            i = end;
        }
        // The most frequent first: they are the sample of the largest heights.
        std::stable_sort(characters_.begin(), characters_.end(),
                         [](const Character& a, const Character& b) { return a.count > b.count; });
        counted_ = true;
    }
    if (!dc_)
        dc_.emplace(canvas_);
    if (level >= kWholeLevels) {
        // Above the heights measured whole, the most frequent characters
        // tell how much the text grows from the largest of those.
        const double base = pointsAtLevel(kWholeLevels - 1);
        const double sampleBase = sampledAt(kWholeLevels - 1);
        measured_[level] = sampleBase > 0 ? base * sampledAt(level) / sampleBase : base;
        done_[level] = true;
        return measured_[level];
    }
    // Each glyph alone and without decorations: the capture draws those
    // once for the whole line, so they are counted once.
    WindowFont plain = font_;
    plain.underline = plain.strikeout = false;
    const LOGFONT plainFont = fontAt(plain, level);
    double total = 0;
    for (const Character& c : characters_)
        total += double(c.count) * pointsOf(plainFont, c.bytes);
    if (!characters_.empty() && (font_.underline || font_.strikeout)) {
        const std::string_view first = characters_.front().bytes;
        total += std::max(0, pointsOf(fontAt(font_, level), first) - pointsOf(plainFont, first));
    }
    measured_[level] = total;
    done_[level] = true;
    return total;
}

double GlyphPointCounts::sampledAt(int level)
{
    WindowFont plain = font_;
    plain.underline = plain.strikeout = false;
    const LOGFONT plainFont = fontAt(plain, level);
    double total = 0;
    for (std::size_t i = 0; i < characters_.size() && i < kSampled; ++i)
        total += double(characters_[i].count) * pointsOf(plainFont, characters_[i].bytes);
    return total;
}

std::uint64_t GlyphPointCounts::estimate(double dpi)
{
    if (text_.empty())
        return 0;
    const double height = std::fabs(double(font_.size) * dpi / 72.0);
    if (!std::isfinite(height))
        return std::numeric_limits<std::uint64_t>::max();
    double points = 0;
    if (height <= 1) {
        points = pointsAtLevel(0);
    } else if (height < kLargestMeasured) {
        const int below = std::min(kLevels - 2, int(std::floor(std::log2(height))));
        const double low = pointsAtLevel(below);
        const double high = pointsAtLevel(below + 1);
        const double a = std::sqrt(double(1 << below)), b = std::sqrt(double(2 << below));
        points = low + (high - low) * (std::sqrt(height) - a) / (b - a);
    } else {
        // Beyond the largest height the growth between the two largest
        // measured, four times apart, goes on: as the root of the height
        // where curves are flattened into segments by their curvature, up
        // to in proportion where a platform divides them more finely.
        const double top = pointsAtLevel(kLevels - 1);
        const double lower = pointsAtLevel(kLevels - 3);
        const double power = lower > 0 ? std::clamp(std::log(top / lower) / std::log(4.0), 0.5, 1.0) : 0.5;
        points = top * std::pow(height / kLargestMeasured, power);
    }
    if (!(points < 1.8e19))
        return std::numeric_limits<std::uint64_t>::max();
    return std::uint64_t(std::ceil(std::max(0.0, points)));
}

} // namespace lw
