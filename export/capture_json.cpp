#include "export/capture_json.hpp"

#include "base/codepage.hpp"
#include "outline/text_output.hpp"

#include <algorithm>
#include <charconv>

namespace lw {
namespace {

// The face name the platform reads: the description's 32 bytes of code page
// 932 up to a NUL, without the half of a character cut at byte 32.
std::string faceNameAsHanded(const LOGFONT& logFont)
{
    const LOGFONTA handed = toAnsiLogFont(logFont);
    std::size_t length = 0;
    while (length < handed.lfFaceName.size() && handed.lfFaceName[length] != '\0')
        ++length;
    std::u32string name = cp932ToCodepoints(std::string_view(handed.lfFaceName.data(), length));
    while (!name.empty() && name.back() == 0xFFFD)
        name.pop_back();
    return codepointsToUtf8(name);
}

template <typename T>
void appendNumber(std::string& out, T value)
{
    char text[32];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Six significant digits, as the size has always been written. A whole size
// of 1 up is those very characters as an integer, without the tables the
// general form reads (a page of the program touched at every start).
void appendSize(std::string& out, double size)
{
    if (size >= 1 && size < 1e6 && size == double(std::int32_t(size))) {
        appendNumber(out, std::int32_t(size));
        return;
    }
    char text[32];
    out.append(text, std::to_chars(text, text + sizeof text, size, std::chars_format::general, 6).ptr);
}

void appendKey(std::string& out, std::string_view key)
{
    out += ", \"";
    out += key;
    out += "\": ";
}

void appendPair(std::string& out, double x, double y)
{
    out += '[';
    appendJsonNumber(out, x);
    out += ", ";
    appendJsonNumber(out, y);
    out += ']';
}

} // namespace

void appendJsonNumber(std::string& out, double value)
{
    // Most numbers of a capture in pixels are whole: written as the integer,
    // the shortest round trip's own characters at a fifth of its cost. From
    // 1e5 up the shortest form is "1e+05", so only below that.
    if (value > -1e5 && value < 1e5 && value == double(std::int32_t(value))) {
        appendNumber(out, std::int32_t(value));
        return;
    }
    appendNumber(out, value);
}

void appendJsonString(std::string& out, std::string_view s)
{
    const std::string text = codepointsToUtf8(utf8ToCodepoints(s));
    out.push_back('"');
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                static constexpr char hex[] = "0123456789abcdef";
                out += "\\u00";
                out.push_back(hex[c >> 4]);
                out.push_back(hex[c & 0xF]);
            } else {
                out.push_back(char(c));
            }
        }
    }
    out.push_back('"');
}

namespace {

// The keys from text to types, without the closing brace.
void appendInputsAndPoints(std::string& out, const CaptureJsonInputs& in, const CapturedOutline& outline)
{
    out += "{\"text\": ";
    appendJsonString(out, in.text);
    appendKey(out, "face");
    appendJsonString(out, in.face);
    appendKey(out, "family");
    appendJsonString(out, in.family);
    appendKey(out, "file");
    appendJsonString(out, in.file);
    appendKey(out, "size");
    appendSize(out, in.size);
    appendKey(out, "angle");
    appendNumber(out, in.angle);
    appendKey(out, "spacing");
    appendJsonNumber(out, in.style.spacing);
    appendKey(out, "width");
    appendNumber(out, in.style.widthPercent);
    appendKey(out, "bold");
    out += in.style.bold ? "true" : "false";
    // Only where asked, so a capture without them reads as it always has.
    if (in.style.oblique != 0) {
        appendKey(out, "oblique");
        appendJsonNumber(out, in.style.oblique);
    }
    if (in.style.fitMm > 0) {
        appendKey(out, "fit");
        out += "{\"mm\": ";
        appendJsonNumber(out, in.style.fitMm);
        out += in.style.fitBy == TextStyle::FitBy::Width ? ", \"by\": \"width\"}" : ", \"by\": \"spacing\"}";
    }
    if (const ArcStyle& arc = in.style.arc; arc.isArc()) {
        appendKey(out, "arc");
        appendJsonNumber(out, arc.radiusMm);
        appendKey(out, "arcAt");
        appendJsonNumber(out, arc.atDegrees.value_or(defaultArcDegrees(arc.radiusMm)));
    }
    // Only when asked for, so a capture without them keeps its bytes.
    if (in.style.shaping.kerning) {
        appendKey(out, "kerning");
        out += "true";
    }
    if (!in.style.shaping.features.empty()) {
        appendKey(out, "features");
        out += '[';
        for (std::size_t i = 0; i < in.style.shaping.features.size(); ++i) {
            out += i ? ", " : "";
            appendJsonString(out, in.style.shaping.features[i]);
        }
        out += ']';
    }
    appendKey(out, "height");
    appendNumber(out, -std::int64_t(outline.logFont.lfHeight));
    appendKey(out, "alCent");
    appendNumber(out, in.alCent);
    appendKey(out, "pointCount");
    appendNumber(out, outline.pointCount);

    appendKey(out, "points");
    out += '[';
    for (const Figure& f : figures(outline))
        for (std::size_t k = 0; k < f.points.size(); ++k) {
            out += f.first + k ? ", " : "";
            appendPair(out, f.points[k].x, f.points[k].y);
        }
    out += ']';
    appendKey(out, "types");
    out += '[';
    for (const Figure& f : figures(outline))
        for (std::size_t k = 0; k < f.types.size(); ++k) {
            out += f.first + k ? ", " : "";
            appendNumber(out, int(f.types[k]));
        }
    out += ']';
}

// The keys from dpi to bbox, without the closing brace.
void appendFigures(std::string& out, const CapturedOutline& outline, const CaptureJsonForm& form)
{
    const bool mm = form.units == JsonUnits::Millimetres;
    appendKey(out, "dpi");
    appendJsonNumber(out, form.mm.dpi);
    appendKey(out, "units");
    out += mm ? "\"mm\"" : "\"px\"";
    if (mm) {
        appendKey(out, "origin");
        appendPair(out, form.mm.originX, form.mm.originY);
    }
    auto place = [&](POINT p) { return mm ? toMillimetres(form.mm, p) : MmPoint{double(p.x), double(p.y)}; };
    MmPoint low{}, high{};
    bool any = false;
    appendKey(out, "figures");
    out += '[';
    for (const Figure& f : figures(outline)) {
        out += f.first ? ", [" : "[";
        for (std::size_t k = 0; k < f.points.size(); ++k) {
            const MmPoint q = place(f.points[k]);
            out += k ? ", " : "";
            appendPair(out, q.x, q.y);
            low = any ? MmPoint{std::min(low.x, q.x), std::min(low.y, q.y)} : q;
            high = any ? MmPoint{std::max(high.x, q.x), std::max(high.y, q.y)} : q;
            any = true;
        }
        out += ']';
    }
    out += ']';
    appendKey(out, "bbox");
    if (any) {
        out += "{\"minX\": ";
        appendJsonNumber(out, low.x);
        appendKey(out, "minY");
        appendJsonNumber(out, low.y);
        appendKey(out, "maxX");
        appendJsonNumber(out, high.x);
        appendKey(out, "maxY");
        appendJsonNumber(out, high.y);
        out += '}';
    } else {
        out += "null";
    }
}

} // namespace

void writeCaptureJson(ByteSink& stream, const CaptureJsonInputs& inputs, const CapturedOutline& outline,
                      const CaptureJsonForm& form)
{
    std::string out;
    // Grown once, not doubled from empty through pages never used again.
    out.reserve(1024 + std::size_t(std::max(outline.pointCount, 0)) * (form.units == JsonUnits::Pixels ? 24 : 48));
    appendInputsAndPoints(out, inputs, outline);
    appendFigures(out, outline, form);
    if (inputs.runs) {
        appendKey(out, "runs");
        out += '[';
        for (std::size_t i = 0; i < inputs.runs->size(); ++i) {
            const FaceRun& run = (*inputs.runs)[i];
            out += i ? ", {\"text\": " : "{\"text\": ";
            appendJsonString(out, run.text);
            appendKey(out, "family");
            appendJsonString(out, run.family);
            appendKey(out, "file");
            appendJsonString(out, run.file);
            out += '}';
        }
        out += ']';
    }
    out += "}\n";
    stream.write(out);
}

FaceInfo faceThatDrew(const CapturedOutline& outline, bool italic, std::string_view text)
{
    return describeFace(faceNameAsHanded(outline.logFont), italic, text, outline.logFont.lfWeight >= FW_BOLD);
}

std::vector<FaceRun> faceRunsThatDrew(const CapturedOutline& outline, bool italic, std::string_view text)
{
    return faceRuns(faceNameAsHanded(outline.logFont), italic, text, outline.logFont.lfWeight >= FW_BOLD);
}

} // namespace lw
