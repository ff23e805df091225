#include "export/capture_json.hpp"

#include "base/codepage.hpp"
#include "outline/text_output.hpp"
#include "platform/face_info.hpp"

#include <cstdio>

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

} // namespace

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
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out.push_back(char(c));
            }
        }
    }
    out.push_back('"');
}

std::string captureJson(std::string_view text, const WindowFont& font, std::int32_t angle,
                        const CapturedOutline& outline, std::int32_t alCent)
{
    FaceInfo face = describeFace(faceNameAsHanded(outline.logFont), font.italic);
    std::string out = "{\"text\": ";
    appendJsonString(out, text);
    out += ", \"face\": ";
    appendJsonString(out, font.faceName);
    out += ", \"family\": ";
    appendJsonString(out, face.family);
    out += ", \"file\": ";
    appendJsonString(out, face.file);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, ", \"size\": %g, \"angle\": %d", double(font.size), angle);
    out += buffer;
    std::snprintf(buffer, sizeof buffer, ", \"height\": %d, \"alCent\": %d, \"pointCount\": %d",
                  -outline.logFont.lfHeight, alCent, outline.pointCount);
    out += buffer;
    out += ", \"points\": [";
    for (const Figure& f : figures(outline)) {
        for (std::size_t k = 0; k < f.points.size(); ++k) {
            std::snprintf(buffer, sizeof buffer, "%s[%d, %d]", f.first + k ? ", " : "", f.points[k].x,
                          f.points[k].y);
            out += buffer;
        }
    }
    out += "], \"types\": [";
    for (const Figure& f : figures(outline)) {
        for (std::size_t k = 0; k < f.types.size(); ++k) {
            std::snprintf(buffer, sizeof buffer, "%s%d", f.first + k ? ", " : "", f.types[k]);
            out += buffer;
        }
    }
    out += "]}\n";
    return out;
}

} // namespace lw
