// The DXF writer: the whole output for a tiny outline, then real captures
// read back by two readers no one here wrote (ezdxf and GDAL).
#include "base/failure.hpp"
#include "export/capture_json.hpp"
#include "export/byte_files.hpp"
#include "export/dxf.hpp"
#include "export_test_support.hpp"
#include "outline/baseline.hpp"
#include "outline/capture.hpp"
#include "platform/canvas.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <vector>

namespace lw {
namespace {

const std::filesystem::path kHere = std::filesystem::path(LW_EXPORT_TESTS_DIR);

std::string dxfOf(const CapturedOutline& outline, const DxfPlacement& placement)
{
    lw::StringSink out;
    writeDxf(out, outline, placement);
    return out.text();
}

// A triangle and a two-point figure; at 25.4 dpi a pixel is one millimetre.
CapturedOutline tinyOutline()
{
    return test::outlineOf({{0, 0, 6}, {10, 0, 2}, {10, 10, 3}, {20, -5, 6}, {25, -5, 3}});
}
const DxfPlacement kTinyPlacement{{.originX = 0, .originY = 10, .dpi = 25.4}, "A/B"};

// The group code and value pairs between "0 SECTION 2 name" and its
// "0 ENDSEC", one "code value" a line.
std::string sectionPairs(const std::string& dxf, const std::string& name)
{
    std::istringstream in(dxf);
    std::string code, value, out;
    bool inside = false;
    while (std::getline(in, code) && std::getline(in, value)) {
        const int c = std::stoi(code);
        if (inside && c == 0 && value == "ENDSEC")
            break;
        if (inside)
            out += std::to_string(c) + " " + value + "\n";
        if (c == 2 && value == name)
            inside = true;
    }
    return out;
}

TEST(Dxf, TinyOutlineIsTheWholeFixture)
{
    // The fixture is the expected file itself, so a CAD program can open it.
    EXPECT_EQ(dxfOf(tinyOutline(), kTinyPlacement), test::readBytes((kHere / "tiny_outline.dxf").string()));
}

TEST(Dxf, TinyOutlineEntitiesAreClosedPolylinesInMillimetresYUp)
{
    EXPECT_EQ(sectionPairs(dxfOf(tinyOutline(), kTinyPlacement), "ENTITIES"),
              "0 LWPOLYLINE\n5 100\n330 1F\n100 AcDbEntity\n8 A_B\n100 AcDbPolyline\n90 3\n70 1\n"
              "10 0\n20 10\n10 10\n20 10\n10 10\n20 0\n"
              "0 LWPOLYLINE\n5 101\n330 1F\n100 AcDbEntity\n8 A_B\n100 AcDbPolyline\n90 2\n70 1\n"
              "10 20\n20 15\n10 25\n20 15\n");
}

TEST(Dxf, HeaderSaysR2000MillimetresAndTheExtents)
{
    EXPECT_EQ(sectionPairs(dxfOf(tinyOutline(), kTinyPlacement), "HEADER"),
              "9 $ACADVER\n1 AC1015\n9 $DWGCODEPAGE\n3 ANSI_932\n9 $INSBASE\n10 0\n20 0\n30 0\n"
              "9 $EXTMIN\n10 0\n20 0\n30 0\n9 $EXTMAX\n10 25\n20 15\n30 0\n9 $LUNITS\n70 2\n"
              "9 $INSUNITS\n70 4\n9 $MEASUREMENT\n70 1\n9 $HANDSEED\n5 102\n");
}

TEST(Dxf, EmptyOutlineIsADrawingWithoutEntities)
{
    const std::string dxf = dxfOf(CapturedOutline{}, {{}, ""});
    EXPECT_EQ(sectionPairs(dxf, "ENTITIES"), "");
    EXPECT_NE(sectionPairs(dxf, "HEADER").find("9 $EXTMIN\n10 0\n20 0\n30 0\n9 $EXTMAX\n10 0\n20 0\n30 0\n"),
              std::string::npos);
    EXPECT_NE(sectionPairs(dxf, "TABLES").find("2 Letterwire\n"), std::string::npos);
    EXPECT_EQ(dxf.substr(dxf.size() - 8), "  0\nEOF\n");
}

TEST(Dxf, HandlesAreUniqueAndBelowTheSeed)
{
    CapturedOutline outline = tinyOutline();
    for (int i = 0; i < 300; ++i)
        test::appendSquare(outline, i, i, 3);
    std::istringstream in(dxfOf(outline, kTinyPlacement));
    std::string code, value;
    std::set<unsigned long> handles;
    unsigned long seed = 0;
    bool nextIsSeed = false;
    while (std::getline(in, code) && std::getline(in, value)) {
        const int c = std::stoi(code);
        if (c == 5 && nextIsSeed) {
            seed = std::stoul(value, nullptr, 16);
        } else if (c == 5 || c == 105) {
            EXPECT_TRUE(handles.insert(std::stoul(value, nullptr, 16)).second) << value;
        }
        nextIsSeed = c == 9 && value == "$HANDSEED";
    }
    EXPECT_EQ(handles.size(), 29u + 302u);
    EXPECT_GT(seed, *handles.rbegin());
}

TEST(Dxf, NumbersAreTheShortestTextThatReadsBackTheSameDouble)
{
    // One pixel at 96 dpi; -0 from a point on the origin's y.
    const CapturedOutline outline = test::outlineOf({{1, 7, 6}, {-3, 7, 3}});
    const std::string pairs = sectionPairs(dxfOf(outline, {{.originX = 0, .originY = 7, .dpi = 96}, "x"}), "ENTITIES");
    EXPECT_NE(pairs.find("10 0.26458333333333334\n20 0\n10 -0.79375\n20 0\n"), std::string::npos) << pairs;
    EXPECT_EQ(std::strtod("0.26458333333333334", nullptr), 25.4 / 96);
    char longer[32];
    std::snprintf(longer, sizeof longer, "%.17g", 1 * (25.4 / 96));
    EXPECT_EQ(std::strtod(longer, nullptr), 25.4 / 96);
}

std::string shortestText(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value == 0 ? 0.0 : value).ptr);
}

// The values of one group code in a section's pairs, in order.
std::vector<std::string> groupValues(const std::string& pairs, const std::string& code)
{
    std::vector<std::string> values;
    std::istringstream in(pairs);
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, code.size() + 1, code + " ") == 0)
            values.push_back(line.substr(code.size() + 1));
    return values;
}

TEST(Dxf, VerticesAndExtentsAreEachPointsMillimetresWhateverWayTheScaleRuns)
{
    // Closed figures on both sides of the origin, then open points further
    // out that no polyline holds and the extents leave out.
    const CapturedOutline outline = test::outlineOf({{-7, 3, 6},
                                                     {12, 3, 2},
                                                     {12, -9, 3},
                                                     {5, 20, 6},
                                                     {-2, 21, 2},
                                                     {5, 22, 3},
                                                     {40, 40, 6},
                                                     {90, -60, 2}});
    const struct {
        const char* name;
        MmPlacement mm;
    } cases[] = {
        {"the classic grid", {.originX = 0, .originY = 10, .dpi = 96}},
        {"a fine grid, fractional origin", {.originX = 3.25, .originY = -2.5, .dpi = 2540}},
        // A point on the origin's x: 0 times a negative scale is -0, written 0.
        {"a scale running backwards", {.originX = -7, .originY = 4, .dpi = -600}},
        {"an odd scale", {.originX = 0.1, .originY = 0.2, .dpi = 25.4 / 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> xs, ys;
        double minX = 0, minY = 0, maxX = 0, maxY = 0;
        bool any = false;
        for (const Figure& f : figures(outline)) {
            if (!f.closed)
                continue;
            for (const POINT& p : f.points) {
                const MmPoint q = toMillimetres(c.mm, p);
                xs.push_back(shortestText(q.x));
                ys.push_back(shortestText(q.y));
                minX = any ? std::min(minX, q.x) : q.x;
                minY = any ? std::min(minY, q.y) : q.y;
                maxX = any ? std::max(maxX, q.x) : q.x;
                maxY = any ? std::max(maxY, q.y) : q.y;
                any = true;
            }
        }
        const std::string dxf = dxfOf(outline, {c.mm, "x"});
        const std::string entities = sectionPairs(dxf, "ENTITIES");
        EXPECT_EQ(groupValues(entities, "10"), xs);
        EXPECT_EQ(groupValues(entities, "20"), ys);
        EXPECT_EQ(groupValues(entities, "90"), (std::vector<std::string>{"3", "3"}));
        const std::string header = sectionPairs(dxf, "HEADER");
        const std::string extents = "9 $EXTMIN\n10 " + shortestText(minX) + "\n20 " + shortestText(minY) +
                                    "\n30 0\n9 $EXTMAX\n10 " + shortestText(maxX) + "\n20 " + shortestText(maxY) +
                                    "\n30 0\n";
        EXPECT_NE(header.find(extents), std::string::npos) << header;
    }
}

TEST(Dxf, EachDrawingNamesItsLayerForItsOwnText)
{
    // In turns, as a batch writes them: a name must never come from the
    // drawing before.
    const struct {
        const char* text;
        std::string layer; // code page 932
    } drawings[] = {
        {"A/B", "A_B"}, {"編集", "\x95\xd2\x8f\x57"}, {"A/B", "A_B"}, {"", "Letterwire"},
        {"0", "_0"},    {"0 ", "_0"},                {"A/B", "A_B"},
    };
    for (const auto& d : drawings) {
        SCOPED_TRACE(d.text);
        const std::string dxf = dxfOf(tinyOutline(), {kTinyPlacement.mm, d.text});
        EXPECT_EQ(groupValues(sectionPairs(dxf, "ENTITIES"), "8"), (std::vector<std::string>{d.layer, d.layer}));
        EXPECT_NE(sectionPairs(dxf, "TABLES").find("2 0\n70 0\n62 7\n6 Continuous\n370 -3\n0 LAYER\n5 2A\n"
                                                  "330 2\n100 AcDbSymbolTableRecord\n100 AcDbLayerTableRecord\n"
                                                  "2 " + d.layer + "\n70 0\n"),
                  std::string::npos);
    }
}

TEST(DxfLayerName, KeepsTheTextButNotWhatANameMayNotHold)
{
    EXPECT_EQ(dxfLayerName("編集テキスト"), "編集テキスト");
    EXPECT_EQ(dxfLayerName("a<b>c/d\\e\"f:g;h?i*j|k=l`m"), "a_b_c_d_e_f_g_h_i_j_k_l_m");
    EXPECT_EQ(dxfLayerName("  \xE3\x80\x80ソ表 \t"), "ソ表 _"); // U+3000 goes, the tab is a control
    EXPECT_EQ(dxfLayerName("x\xF0\x9F\x98\x80y"), "x_y");  // outside code page 932
    EXPECT_EQ(dxfLayerName("\xFF"), "_");                  // not UTF-8: U+FFFD, not in 932
    EXPECT_EQ(dxfLayerName(""), "Letterwire");
    EXPECT_EQ(dxfLayerName("   "), "Letterwire");
    EXPECT_EQ(dxfLayerName(std::string(300, 'W')), std::string(255, 'W'));
    // 255 bytes of code page 932: whole characters of two bytes each.
    std::string ideographs;
    for (int i = 0; i < 200; ++i)
        ideographs += "出";
    EXPECT_EQ(dxfLayerName(ideographs), ideographs.substr(0, 127 * 3));
    EXPECT_EQ(dxfLayerName("x" + ideographs), "x" + ideographs.substr(0, 127 * 3));
    // A blank of two bytes that would pass the limit is cut; one that just
    // fits is trimmed once the name is cut after it.
    EXPECT_EQ(dxfLayerName(std::string(254, 'a') + "\xE3\x80\x80x"), std::string(254, 'a'));
    EXPECT_EQ(dxfLayerName(std::string(253, 'a') + "\xE3\x80\x80x"), std::string(253, 'a'));
    EXPECT_EQ(dxfLayerName(std::string(252, 'a') + "\xE3\x80\x80x"), std::string(252, 'a') + "\xE3\x80\x80x");
    // Never the standard layer, nor the layer that does not print.
    EXPECT_EQ(dxfLayerName("0"), "_0");
    EXPECT_EQ(dxfLayerName(" 0\xE3\x80\x80"), "_0");
    EXPECT_EQ(dxfLayerName("DEFPOINTS"), "_DEFPOINTS");
    EXPECT_EQ(dxfLayerName("00"), "00");
    EXPECT_EQ(dxfLayerName("\xEF\xBC\x90"), "\xEF\xBC\x90"); // a full-width zero is another name
}

TEST(DxfFile, WritesTheSameBytesAndNamesAPathItCannotWrite)
{
    test::ScratchDir scratch;
    writeDxfFile(scratch / "out.dxf", tinyOutline(), kTinyPlacement);
    EXPECT_EQ(test::readBytes(scratch / "out.dxf"), dxfOf(tinyOutline(), kTinyPlacement));
    try {
        writeDxfFile(scratch / "no folder/out.dxf", tinyOutline(), kTinyPlacement);
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_NE(std::string(f.what()).find("no folder"), std::string::npos) << f.what();
    }
}

// A capture at the origin, as the command line makes it.
struct Captured {
    CapturedOutline outline;
    MmPlacement mm;
    std::string family, file;
};

Captured captureAtOrigin(const std::string& text, float size, std::int32_t angle, double dpi)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    Captured c;
    WindowFont font;
    font.size = size;
    std::int32_t alCent = 0;
    drawFlattenPath(placementFor(alCent), {text, font, angle, design::kPreviewWidth, design::kPreviewHeight, 1440 / dpi}, dc,
                    c.outline);
    c.mm = baselinePlacement(dc, c.outline.logFont, dpi);
    const FaceInfo face = faceThatDrew(c.outline, false);
    c.family = face.family;
    c.file = face.file;
    return c;
}

// What the readers say about the DXF of `c`, keyed by "reader.fact".
std::map<std::string, std::string> readBack(const Captured& c, const std::string& text)
{
    test::ScratchDir scratch;
    writeDxfFile(scratch / "out.dxf", c.outline, {c.mm, text});
    {
        OutputFile json(scratch / "capture.json");
        writeCaptureJson(json.stream(), {.text = text, .face = design::kFaceName, .family = c.family, .file = c.file},
                         c.outline, {.units = JsonUnits::Millimetres, .mm = c.mm});
        json.close();
    }
    const std::string command = "/usr/bin/python3 '" + (kHere / "dxf_read_back.py").string() + "' '" +
                                (scratch / "out.dxf") + "' '" + (scratch / "capture.json") + "'";
    std::map<std::string, std::string> facts;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return facts;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string s(line);
        s.erase(s.find_last_not_of('\n') + 1);
        const std::size_t blank = s.find(' ');
        facts[s.substr(0, blank)] = blank == std::string::npos ? "" : s.substr(blank + 1);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return facts;
}

void expectReadBackWhole(const Captured& c, const std::string& text, const std::string& layer)
{
    auto facts = readBack(c, text);
    std::size_t closedFigures = 0;
    for (const Figure& f : figures(c.outline))
        closedFigures += f.closed;
    ASSERT_GT(closedFigures, 0u);
    const std::string count = std::to_string(closedFigures);
    EXPECT_EQ(facts["figures"], count);
    EXPECT_EQ(facts["ezdxf.audit_errors"], "0");
    EXPECT_EQ(facts["ezdxf.acadver"], "AC1015");
    EXPECT_EQ(facts["ezdxf.insunits"], "4");
    EXPECT_EQ(facts["ezdxf.entities"], count);
    EXPECT_EQ(facts["ezdxf.polylines"], count);
    EXPECT_EQ(facts["ezdxf.closed"], count);
    EXPECT_EQ(facts["ezdxf.layers"], "1");
    EXPECT_EQ(facts["ezdxf.layer"], layer);
    EXPECT_LE(std::stod(facts["ezdxf.max_error"]), 1e-9);
    EXPECT_EQ(facts["ogr.features"], count) << facts["ogr.failed"];
    EXPECT_EQ(facts["ogr.closed"], count);
    EXPECT_LE(std::stod(facts["ogr.max_error"]), 1e-9);
    EXPECT_EQ(facts["ogr.layer"], layer);
    EXPECT_LE(std::stod(facts["json.max_error"]), 1e-9);
}

TEST(DxfReadBack, DefaultTextAtTheClassicGrid)
{
    expectReadBackWhole(captureAtOrigin(design::kText, 24, 0, 96), design::kText, design::kText);
}

TEST(DxfReadBack, TurnedTextAtAFineGrid)
{
    expectReadBackWhole(captureAtOrigin("編集O", 36, 30, 2540), "編集O", "編集O");
}

TEST(DxfReadBack, ANameWithForbiddenCharacters)
{
    expectReadBackWhole(captureAtOrigin("a/b:c", 24, 0, 96), "a/b:c", "a_b_c");
}

TEST(DxfReadBack, AnEmptyOutlineIsAnEmptyDrawing)
{
    auto facts = readBack(Captured{}, "");
    EXPECT_EQ(facts["figures"], "0");
    EXPECT_EQ(facts["ezdxf.audit_errors"], "0");
    EXPECT_EQ(facts["ezdxf.entities"], "0");
    EXPECT_EQ(facts["ogr.features"], "0") << facts["ogr.failed"];
}

// The font's "H" over its em: the cap height and the glyph's own box.
struct HMetrics {
    double capHeight = 0, xMin = 0, yMin = 0, yMax = 0;
};

HMetrics hMetrics(const std::string& file)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    HMetrics m;
    if (FT_Init_FreeType(&library) == 0 && FT_New_Face(library, file.c_str(), 0, &face) == 0) {
        const double em = face->units_per_EM;
        if (FT_Load_Char(face, 'H', FT_LOAD_NO_SCALE) == 0) {
            FT_BBox box;
            FT_Outline_Get_CBox(&face->glyph->outline, &box);
            m = {box.yMax / em, box.xMin / em, box.yMin / em, box.yMax / em};
        }
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->version >= 2 && os2->sCapHeight > 0)
            m.capHeight = os2->sCapHeight / em;
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return m;
}

TEST(DxfReadBack, AnHAt72PointsIsAnInchOfEmHighByTheCapHeightOnTheBaseline)
{
    const Captured c = captureAtOrigin("H", 72, 0, 96);
    auto facts = readBack(c, "H");
    ASSERT_EQ(facts["ezdxf.audit_errors"], "0");
    std::istringstream box(facts["ezdxf.bbox"]);
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    ASSERT_TRUE(box >> minX >> minY >> maxX >> maxY) << facts["ezdxf.bbox"];
    const double step = 25.4 / 96;
    const HMetrics h = hMetrics(c.file);
    ASSERT_GT(h.capHeight, 0.5) << c.file;
    EXPECT_NEAR(maxY - minY, 25.4 * h.capHeight, step);
    // Where the font puts its "H" on the baseline from the origin (IPA P
    // Gothic lifts it by 20 of 2048 units).
    EXPECT_NEAR(minX, 25.4 * h.xMin, step);
    EXPECT_NEAR(minY, 25.4 * h.yMin, step);
    EXPECT_NEAR(maxY, 25.4 * h.yMax, step);
}

} // namespace
} // namespace lw
