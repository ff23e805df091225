#include "cli/option_values.hpp"

#include "base/lengths.hpp"
#include "base/numbers.hpp"
#include "base/shown_input.hpp"
#include "outline/fit.hpp"
#include "platform/font_file.hpp"

#include <charconv>
#include <cmath>

namespace lw::cli {

std::string roughly(double value)
{
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, error == std::errc() ? end : buffer);
}

double number(const std::string& option, const std::string& value)
{
    double result = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (ec != std::errc() || ptr != value.data() + value.size() || !std::isfinite(result))
        throw UsageError(option + ": " + quotedInput(value) + " is not a number");
    return result;
}

// The text is one line: a control character would only draw a stray glyph
// (or a box), so it is refused where it stands, counted in characters.
std::string oneLine(std::string text)
{
    if (const std::string control = controlCharacterIn(text); !control.empty())
        throw UsageError("--text: " + control + "; the text is one line");
    return text;
}

// "from -100 to 100 mm", as a refusal names a limit.
std::string limitWords(const OptionLimit& limit)
{
    return "from " + shortest(limit.lowest) + " to " + shortest(limit.highest) + " " + limit.unit;
}

// --spacing: points, or millimetres at 1:1 with an "mm" suffix.
double spacingPoints(const std::string& value)
{
    const std::optional<Length> length = parseLength(value, LengthUnit::Point);
    if (!length)
        throw UsageError("--spacing: " + quotedInput(value) + " is not a length; give points (1.5 or 1.5pt) or millimetres (0.5mm)");
    const double points = length->points();
    if (const OptionLimit& limit = optionLimit(LimitedOption::Spacing); !limit.holds(points))
        throw UsageError("--spacing must be " + limitWords(limit));
    return points;
}

// A length counted in millimetres (--offset, --precision): "mm" may follow
// it; points are no unit of theirs, so "pt" is named as what is wrong.
std::optional<double> millimetresIn(const std::string& value)
{
    const std::optional<Length> length = parseLength(value, LengthUnit::Millimetre);
    if (!length || length->unit != LengthUnit::Millimetre)
        return std::nullopt;
    return length->value;
}

// --width: a whole percentage of the designed width, "%" allowed.
std::int32_t widthPercent(const std::string& value)
{
    const std::string digits = !value.empty() && value.back() == '%' ? value.substr(0, value.size() - 1) : value;
    std::int32_t result = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    const std::string range = "from " + std::to_string(TextStyle::kNarrowest) + " to " +
                              std::to_string(TextStyle::kWidest) + " (per cent of the designed width)";
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size())
        throw UsageError("--width: " + quotedInput(value) + " is not a whole number; give " + range);
    if (result < TextStyle::kNarrowest || result > TextStyle::kWidest)
        throw UsageError("--width must be " + range);
    return result;
}

// --features: OpenType tags separated by commas, each once.
std::vector<std::string> featureTags(const std::string& value)
{
    std::vector<std::string> tags;
    std::size_t at = 0;
    while (true) {
        const std::size_t comma = value.find(',', at);
        const std::string tag = value.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        if (tag == "kern")
            throw UsageError("--features: kern is pair kerning; give --kerning");
        if (const std::string why = featureTagRefusal(tag); !why.empty())
            throw UsageError("--features: " + (tag.empty() ? why + " in " + quotedInput(value) : why));
        if (std::find(tags.begin(), tags.end(), tag) == tags.end())
            tags.push_back(tag);
        if (comma == std::string::npos)
            return tags;
        at = comma + 1;
    }
}

// --font-file PATH[#INDEX]: the face's family, once the file is added.
std::string fontFileFamily(const std::string& value)
{
    const FontFileChoice choice = fontFileChoice(value);
    if (!choice.refusal.empty())
        throw UsageError("--font-file: " + choice.refusal);
    const FontFileFace face = addFontFile(choice.path, choice.index);
    if (!face.refusal.empty())
        throw UsageError("--font-file: " + quotedInput(choice.path) + " " + face.refusal);
    return face.family;
}

// --size: points, "pt" allowed, or millimetres with "mm".
double sizeValue(const std::string& value)
{
    const auto endsWith = [&](const char* unit) {
        return value.size() > 2 && value.compare(value.size() - 2, 2, unit) == 0;
    };
    const bool millimetres = endsWith("mm");
    const std::string digits = millimetres || endsWith("pt") ? value.substr(0, value.size() - 2) : value;
    double result = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size() || !std::isfinite(result))
        throw UsageError("--size: " + quotedInput(value) +
                         " is not a number; give points (12 or 12pt) or millimetres at 1:1 (10mm)");
    const double points = Length{result, millimetres ? LengthUnit::Millimetre : LengthUnit::Point}.points();
    if (!(points > 0) || points > kLargestSizePt)
        throw UsageError("--size must be above 0 and at most " + shortest(kLargestSizePt) + " points (" +
                         shortest(std::floor(Length{kLargestSizePt, LengthUnit::Point}.millimetres())) + " mm)");
    return points;
}

// --fit: millimetres at 1:1, "mm" allowed.
double fitMillimetres(const std::string& value)
{
    const bool mm = value.size() > 2 && value.compare(value.size() - 2, 2, "mm") == 0;
    const std::string digits = mm ? value.substr(0, value.size() - 2) : value;
    double result = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size() || !std::isfinite(result))
        throw UsageError("--fit: " + quotedInput(value) + " is not a length; give millimetres at 1:1 (100)");
    if (!(result > 0) || result > TextStyle::kLongestFitMm)
        throw UsageError("--fit must be above 0 and at most " + shortest(TextStyle::kLongestFitMm) + " mm");
    return result;
}

// --oblique: degrees, a slant of more than 45 degrees is a typing error.
double obliqueDegrees(const std::string& value)
{
    double result = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (value.empty() || ec != std::errc() || ptr != value.data() + value.size() || !std::isfinite(result))
        throw UsageError("--oblique: " + quotedInput(value) + " is not a number of degrees");
    if (std::fabs(result) > TextStyle::kSteepest)
        throw UsageError("--oblique must be from -" + shortest(TextStyle::kSteepest) + " to " +
                         shortest(TextStyle::kSteepest) + " degrees");
    return result;
}

// --size-of cap: the size asked for is the capital H's height; the em that
// gives it, in the face the text is drawn in.
float emForCapHeight(const Options& o, double capPoints)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    const double share = capHeightPerEm(dc, o.font);
    if (share <= 0)
        throw UsageError("--size-of cap: the face draws no capital H to measure; give the size of the em");
    const double points = capPoints / share;
    if (points > kLargestSizePt)
        throw UsageError("--size-of cap: capitals that tall need an em of " + roughly(points) +
                         " points, above the largest size, " + shortest(kLargestSizePt));
    return static_cast<float>(points);
}

std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

} // namespace lw::cli
