#include "form/text_settings.hpp"

#include "base/numbers.hpp"
#include "form/form_design.hpp"
#include "form/text_style_design.hpp"

#include <charconv>
#include <cmath>
#include <string>

namespace lw {
namespace {

std::optional<double> numberIn(const std::optional<std::string>& text, double least, double most)
{
    if (!text)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size() || !(value >= least && value <= most))
        return std::nullopt;
    return value;
}

bool flag(const std::optional<std::string>& text, bool design)
{
    if (text == "1")
        return true;
    if (text == "0")
        return false;
    return design;
}

// A name a font dialog could have given: not empty, no control characters,
// within what a face description holds.
bool plausibleFace(const std::string& name)
{
    if (name.empty() || name.size() > 255)
        return false;
    for (const unsigned char c : name)
        if (c < 0x20 || c == 0x7F)
            return false;
    return true;
}

// A font file's path and index as the font dialog gave them.
bool plausibleFontFile(const std::string& text)
{
    if (text.empty() || text.size() > 4096)
        return false;
    for (const unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return false;
    return true;
}

} // namespace

void encodeTextSettings(const TextSettings& settings, const WriteSetting& write)
{
    write("face", settings.font.faceName);
    write("fontFile", settings.font.fontFile);
    write("size", shortest(double(settings.font.size))); // the store has always held the double's digits
    write("angle", std::to_string(settings.angle));
    write("italic", settings.font.italic ? "1" : "0");
    write("underline", settings.font.underline ? "1" : "0");
    write("strikeout", settings.font.strikeout ? "1" : "0");
    write("spacing", shortest(settings.style.spacing));
    write("width", std::to_string(settings.style.widthPercent));
    write("bold", settings.style.bold ? "1" : "0");
    write("oblique", shortest(settings.style.oblique));
    write("fit", shortest(settings.style.fitMm));
    write("fitBy", settings.style.fitBy == TextStyle::FitBy::Width ? "width" : "spacing");
    // 0: a straight line; the angle only with an arc.
    write("arc", shortest(settings.style.arc.radiusMm));
    write("arc-at", settings.style.arc.isArc() ? shortest(arcAngleShown(settings.style.arc)) : "");
    write("kerning", settings.style.shaping.kerning ? "1" : "0");
    write("strokeFace", settings.font.strokeFace);
}

TextSettings decodeTextSettings(const ReadSetting& read)
{
    TextSettings settings;
    if (const std::optional<std::string> face = read("face"); face && plausibleFace(*face))
        settings.font.faceName = *face;
    if (const std::optional<std::string> file = read("fontFile"); file && plausibleFontFile(*file))
        settings.font.fontFile = *file;
    const SliderDesign& size = sliderDesign(Slider::sldSize);
    if (const auto points = numberIn(read("size"), size.minimum, size.maximum))
        settings.font.size = float(*points);
    const SliderDesign& angle = sliderDesign(Slider::sldAngle);
    if (const auto degrees = numberIn(read("angle"), angle.minimum, angle.maximum); degrees && std::trunc(*degrees) == *degrees)
        settings.angle = std::int32_t(*degrees);
    settings.font.italic = flag(read("italic"), settings.font.italic);
    settings.font.underline = flag(read("underline"), settings.font.underline);
    settings.font.strikeout = flag(read("strikeout"), settings.font.strikeout);
    const TextStyleFieldDesign& spacing = kTextStyleFields[0];
    if (const auto points = numberIn(read("spacing"), spacing.minimum, spacing.maximum))
        settings.style.spacing = *points;
    const TextStyleFieldDesign& width = kTextStyleFields[1];
    if (const auto percent = numberIn(read("width"), width.minimum, width.maximum); percent && std::trunc(*percent) == *percent)
        settings.style.widthPercent = std::int32_t(*percent);
    settings.style.bold = flag(read("bold"), settings.style.bold);
    for (const TextStyleFieldDesign& f : kTextStyleFields) {
        const char* name = f.field == TextStyleField::Oblique ? "oblique" : f.field == TextStyleField::Fit ? "fit" : nullptr;
        if (!name)
            continue;
        if (const auto value = numberIn(read(name), f.minimum, f.maximum))
            setFieldValue(settings.style, f.field, *value);
    }
    if (const std::optional<std::string> by = read("fitBy"); by && (*by == "width" || *by == "spacing"))
        settings.style.fitBy = *by == "width" ? TextStyle::FitBy::Width : TextStyle::FitBy::Spacing;
    const TextStyleFieldDesign& radius = kTextStyleFields[3];
    const TextStyleFieldDesign& arcAngle = kTextStyleFields[4];
    if (const auto mm = numberIn(read("arc"), radius.minimum, radius.maximum); mm && *mm != 0)
        settings.style.arc = arcStyleWithin(
            *mm, numberIn(read("arc-at"), arcAngle.minimum, arcAngle.maximum).value_or(defaultArcDegrees(*mm)));
    settings.style.shaping.kerning = flag(read("kerning"), settings.style.shaping.kerning);
    if (const std::optional<std::string> stroke = read("strokeFace"); stroke && plausibleFace(*stroke))
        settings.font.strokeFace = *stroke;
    return settings;
}

} // namespace lw
