#pragma once
// One option's value read from its words, each refusal a usage error that
// names the option, and the limits that the help and the parser both name.
// The command line's own: nothing outside cli/ reads them.
//
//   sizeValue("10mm")          // 28.3464566929...: points
//   spacingPoints("1001")      // UsageError: from -1000 to 1000 points

#include "cli/options.hpp"
#include "outline/option_limits.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw::cli {

inline constexpr double kLargestSizePt = 16384;
inline constexpr int kAngleLimit = 214748364;
inline constexpr double kDpiLowest = 10;
// A precision reaches finer grids than --dpi allows by hand.
inline constexpr double kDpiHighest = 10000;
// A pen wider than this is a typing error.
inline constexpr double kWidestPenMm = 100;
// A tool or a bridge wider than this is a typing error too.
inline constexpr double kToolLimitMm = 100;
inline constexpr int kMostBridges = 16;

// A computed quantity as a refusal gives it: six significant digits
// ("1.82044e+09"), where a limit or a given value is said exactly.
std::string roughly(double value);

double number(const std::string& option, const std::string& value);
// The text, refused where a control character stands: it is one line.
std::string oneLine(std::string text);
// "from -100 to 100 mm", as a refusal names a limit.
std::string limitWords(const OptionLimit& limit);
double spacingPoints(const std::string& value);              // --spacing
std::optional<double> millimetresIn(const std::string& value); // --offset, --precision
std::int32_t widthPercent(const std::string& value);         // --width
std::vector<std::string> featureTags(const std::string& value); // --features
std::string fontFileFamily(const std::string& value);        // --font-file
double sizeValue(const std::string& value);                  // --size
double fitMillimetres(const std::string& value);             // --fit
double obliqueDegrees(const std::string& value);             // --oblique
float emForCapHeight(const Options& o, double capPoints);    // --size-of cap

// Edits from a to b, a swap of two neighbours counting as one ("dfx", "dxf").
std::size_t editDistance(std::string_view a, std::string_view b);

// "; did you mean X?" for the one known word nearest `word` within two edits;
// nothing when none is that near. Long words are not compared: a typo is short.
template <typename Names>
std::string didYouMean(std::string_view word, const Names& names)
{
    constexpr std::size_t kMostEdits = 2;
    if (word.size() > 64)
        return {};
    std::string_view best;
    std::size_t bestEdits = kMostEdits + 1;
    for (std::string_view name : names) {
        const std::size_t edits = editDistance(word, name);
        if (edits < bestEdits) {
            best = name;
            bestEdits = edits;
        }
    }
    return best.empty() ? std::string() : "; did you mean " + std::string(best) + "?";
}

} // namespace lw::cli
