#include "base/lengths.hpp"

#include <charconv>
#include <cmath>

namespace lw {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool endsWithUnit(std::string_view s, std::string_view unit)
{
    if (s.size() < unit.size())
        return false;
    const std::string_view tail = s.substr(s.size() - unit.size());
    for (std::size_t i = 0; i < unit.size(); ++i)
        if ((tail[i] | 0x20) != unit[i])
            return false;
    return true;
}

} // namespace

// Multiplied before divided, as --spacing always converted: the same text
// gives the same bits, so drawings stay byte for byte what they were.
double Length::millimetres() const { return unit == LengthUnit::Millimetre ? value : value * kMmPerInch / 72; }

double Length::points() const { return unit == LengthUnit::Point ? value : value * 72 / kMmPerInch; }

std::optional<Length> parseLength(std::string_view text, LengthUnit bare)
{
    std::string_view s = trimmed(text);
    LengthUnit unit = bare;
    for (const auto& [word, named] : {std::pair{std::string_view("mm"), LengthUnit::Millimetre},
                                      std::pair{std::string_view("pt"), LengthUnit::Point}}) {
        if (endsWithUnit(s, word)) {
            s = trimmed(s.substr(0, s.size() - word.size()));
            unit = named;
            break;
        }
    }
    // from_chars takes no "+"; a typed plus sign is still a number.
    if (s.size() > 1 && s.front() == '+' && s[1] != '-')
        s.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return Length{value, unit};
}

} // namespace lw
