// The SVG picture as a renderer paints it: letters in ink, holes in the
// background. The picture is evaluated point by point (paths in document
// order, each with its fill and fill rule; the last path that covers a point
// gives its colour), so the test holds for one path per figure and for one
// path of all figures alike.
#include "export/svg.hpp"
#include "outline/capture.hpp"
#include "platform/canvas.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace lw;

namespace {

struct PointD {
    double x, y;
};
using Polygon = std::vector<PointD>;

// Winding number of the closed polygons about p; its parity is the crossing parity.
int winding(const std::vector<Polygon>& polygons, PointD p)
{
    int w = 0;
    for (const Polygon& poly : polygons)
        for (std::size_t i = 0; i < poly.size(); ++i) {
            PointD a = poly[i], b = poly[(i + 1) % poly.size()];
            double cross = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
            if (a.y <= p.y && b.y > p.y && cross > 0)
                ++w;
            else if (a.y > p.y && b.y <= p.y && cross < 0)
                --w;
        }
    return w;
}

double signedArea(const Polygon& poly)
{
    double a = 0;
    for (std::size_t i = 0; i < poly.size(); ++i)
        a += poly[i].x * poly[(i + 1) % poly.size()].y - poly[(i + 1) % poly.size()].x * poly[i].y;
    return a / 2;
}

struct Painted {
    std::vector<Polygon> subpaths;
    bool evenOdd;
    bool black;
};

std::map<std::string, std::string> attributesOf(const std::string& tag)
{
    std::map<std::string, std::string> out;
    for (std::size_t at = 0; (at = tag.find("=\"", at)) != std::string::npos;) {
        std::size_t name = tag.rfind(' ', at) + 1, end = tag.find('"', at + 2);
        out[tag.substr(name, at - name)] = tag.substr(at + 2, end - at - 2);
        at = end;
    }
    return out;
}

// Absolute M, L and Z only; any other command fails rather than being misread.
std::vector<Polygon> subpathsOf(const std::string& d)
{
    std::string spaced;
    for (char c : d) {
        bool command = std::isalpha(static_cast<unsigned char>(c));
        if (command && c != 'M' && c != 'L' && c != 'Z')
            ADD_FAILURE() << "unsupported path command " << c;
        spaced += command ? std::string{' ', c, ' '} : std::string(1, c == ',' ? ' ' : c);
    }
    std::vector<Polygon> out;
    std::istringstream in(spaced);
    for (std::string token; in >> token;) {
        if (token == "M")
            out.emplace_back();
        else if (token != "L" && token != "Z" && !out.empty())
            out.back().push_back({std::stod(token), [&] { double y; in >> y; return y; }()});
    }
    return out;
}

// The painted paths in document order; <g> passes fill and fill-rule down.
// The page, and the background rectangle on it, are white.
std::vector<Painted> parseSvg(const std::string& svg)
{
    std::vector<Painted> out;
    std::vector<std::map<std::string, std::string>> groups{{}};
    for (std::size_t at = 0; (at = svg.find('<', at)) != std::string::npos; ++at) {
        std::string tag = svg.substr(at, svg.find('>', at) - at);
        if (tag.starts_with("</g")) {
            groups.pop_back();
            continue;
        }
        if (!tag.starts_with("<g") && !tag.starts_with("<path"))
            continue;
        auto a = groups.back();
        for (auto& [name, value] : attributesOf(tag))
            a[name] = value;
        EXPECT_EQ(a.count("transform"), 0u) << tag;
        if (tag.starts_with("<g")) {
            groups.push_back(a);
            continue;
        }
        std::string fill = a.count("fill") ? a["fill"] : "black";
        bool black = fill == "black" || fill == "#000" || fill == "#000000";
        EXPECT_TRUE(black || fill == "white" || fill == "#fff" || fill == "#ffffff") << fill;
        out.push_back({subpathsOf(a["d"]), a["fill-rule"] == "evenodd", black});
    }
    return out;
}

bool blackAt(const std::vector<Painted>& picture, PointD p)
{
    bool black = false;
    for (const Painted& path : picture) {
        int w = winding(path.subpaths, p);
        if (path.evenOdd ? w % 2 != 0 : w != 0)
            black = path.black;
    }
    return black;
}

struct Letter {
    const char* face;
    const char* text;
};

// Pixel centres of the capture sorted by the figures' own winding (outlines
// wound as the largest figure, holes against it), with those the SVG paints wrongly.
struct Sampled {
    int ink = 0, hole = 0, strokeInHole = 0;
    int wrongInk = 0, wrongHole = 0, wrongStrokeInHole = 0;
};

Sampled sample(const Letter& letter)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    WindowFont font;
    font.faceName = letter.face;
    font.size = 48;
    std::int32_t alCent = 0;
    CapturedOutline outline;
    drawFlattenPath(placementFor(alCent), {letter.text, font}, dc, outline);

    std::vector<Polygon> all, outlines, holes;
    double largest = 0;
    for (const Figure& f : figures(outline)) {
        Polygon poly;
        for (const POINT& p : f.points)
            poly.push_back({double(p.x), double(p.y)});
        if (std::fabs(signedArea(poly)) > std::fabs(largest))
            largest = signedArea(poly);
        all.push_back(std::move(poly));
    }
    for (Polygon& poly : all)
        (signedArea(poly) * largest < 0 ? holes : outlines).push_back(std::move(poly));

    lw::StringSink svg;
    // 25.4 dpi: one device pixel a millimetre, so the picture's units are the capture's pixels.
    writeSvg(svg, outline, {.originX = 0, .originY = 0, .dpi = 25.4});
    std::vector<Painted> picture = parseSvg(svg.text());

    int left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (const Figure& f : figures(outline))
        for (const POINT& p : f.points) {
            left = std::min(left, p.x), right = std::max(right, p.x);
            top = std::min(top, p.y), bottom = std::max(bottom, p.y);
        }
    Sampled s;
    // Pixel centres, nudged off every line through two whole-pixel points.
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            PointD p{x + 0.5 + 1.3e-4, y + 0.5 + 0.7e-4};
            int inOutlines = winding(outlines, p), inHoles = winding(holes, p);
            bool black = blackAt(picture, p);
            if (inHoles == 0 && inOutlines != 0)
                ++s.ink, s.wrongInk += !black;
            else if (inHoles != 0 && inOutlines + inHoles == 0)
                ++s.hole, s.wrongHole += black;
            else if (inHoles != 0)
                ++s.strokeInHole, s.wrongStrokeInHole += !black;
        }
    return s;
}

} // namespace

TEST(SvgFill, OutlinesAreInkAndTheirHolesBackground)
{
    for (const char* face : {design::kFaceName, "DejaVu Sans"})
        for (const char* text : {"O", "B", "8", "図", "回", "品"}) {
            SCOPED_TRACE(std::string(face) + " " + text);
            Sampled s = sample({face, text});
            EXPECT_GT(s.ink, 300);
            EXPECT_GT(s.hole, 100);
            EXPECT_EQ(s.wrongInk, 0) << "of " << s.ink;
            EXPECT_EQ(s.wrongHole, 0) << "of " << s.hole;
        }
}

TEST(SvgFill, StrokesStandingInAHoleAreInk)
{
    for (const char* text : {"図", "回"}) {
        SCOPED_TRACE(text);
        Sampled s = sample({design::kFaceName, text});
        EXPECT_GT(s.strokeInHole, 100);
        EXPECT_EQ(s.wrongStrokeInHole, 0) << "of " << s.strokeInHole;
    }
}
