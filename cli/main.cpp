// letterwire-cli: the outline engine and its exports for scripts and for
// machines without a display.

#include "cli/options.hpp"
#include "outline/capture.hpp"
#include "outline/failure.hpp"
#include "outline/font_library.hpp"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void appendJsonString(std::string& out, std::string_view s)
{
    out.push_back('"');
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
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

std::string captureJson(const lw::cli::Options& o, const lw::CapturedOutline& outline, std::int32_t alCent)
{
    lw::FaceInfo face = lw::describeFace(o.font.faceName, o.font.italic);
    std::string out = "{\"text\": ";
    appendJsonString(out, o.text);
    out += ", \"face\": ";
    appendJsonString(out, o.font.faceName);
    out += ", \"family\": ";
    appendJsonString(out, face.family);
    out += ", \"file\": ";
    appendJsonString(out, face.file);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, ", \"size\": %g, \"angle\": %d", double(o.font.size), o.angle);
    out += buffer;
    std::snprintf(buffer, sizeof buffer, ", \"height\": %d, \"alCent\": %d, \"pointCount\": %d",
                  -outline.logFont.lfHeight, alCent, outline.pointCount);
    out += buffer;
    out += ", \"points\": [";
    for (std::int32_t i = 0; i < outline.pointCount; ++i) {
        const lw::POINT& p = outline.pathPoints[std::size_t(i)];
        std::snprintf(buffer, sizeof buffer, "%s[%d, %d]", i ? ", " : "", p.x, p.y);
        out += buffer;
    }
    out += "], \"types\": [";
    for (std::int32_t i = 0; i < outline.pointCount; ++i) {
        std::snprintf(buffer, sizeof buffer, "%s%d", i ? ", " : "", outline.pathTypes[std::size_t(i)]);
        out += buffer;
    }
    out += "]}\n";
    return out;
}

int run(const lw::cli::Options& o)
{
    lw::NullCanvas canvas;
    lw::DeviceContext dc(canvas);
    lw::CapturedOutline outline;
    std::int32_t alCent = o.centre ? 1 : 0;
    lw::CaptureSource source{o.text, o.font, o.angle, 461, 301, 1440.0 / o.dpi};
    if (o.command == "capture") {
        if (!o.positional.empty())
            throw lw::cli::UsageError("capture takes no file arguments");
        lw::drawFlattenPath(alCent, source, dc, outline);
        std::string json = captureJson(o, outline, alCent);
        std::fwrite(json.data(), 1, json.size(), stdout);
        return 0;
    }
    throw lw::cli::UsageError("unknown command " + o.command + "; see --help");
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        lw::cli::Options o = lw::cli::parseOptions(args);
        if (o.help) {
            std::cout << lw::cli::usageText();
            return 0;
        }
        return run(o);
    } catch (const lw::cli::UsageError& e) {
        std::cerr << "letterwire-cli: " << e.what() << "\n";
        return 2;
    } catch (const lw::Failure& f) {
        std::cerr << "letterwire-cli: " << f.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "letterwire-cli: " << e.what() << "\n";
        return 1;
    }
}
