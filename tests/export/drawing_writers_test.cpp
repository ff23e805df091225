// The PDF, HPGL and Release 12 writers' whole output on drawings small
// enough to check by hand: one square, an "O" (a square with a square hole
// turned the other way), a half circle of two cubics, and nothing at all.

#include "export/dxf.hpp"
#include "export/hpgl.hpp"
#include "export/pdf.hpp"
#include "export_test_support.hpp"

#include "base/codepage.hpp"
#include "base/failure.hpp"

#include <gtest/gtest.h>

#include <string>

namespace lw {
namespace {

using test::appendSquare;
using test::outlineOf;

// One device pixel a millimetre, y down: a point (x, y) is (x, -y) mm.
constexpr MmPlacement kMm{.originX = 0, .originY = 0, .dpi = 25.4};

CapturedOutline square()
{
    CapturedOutline o = outlineOf({});
    appendSquare(o, 0, 0, 10);
    return o;
}

// The outer contour counter-clockwise with y up, the hole clockwise.
CapturedOutline letterO()
{
    return outlineOf({{0, 0, 6}, {0, 10, 2}, {10, 10, 2}, {10, 0, 3},
                      {3, 3, 6}, {7, 3, 2}, {7, 7, 2}, {3, 7, 3}});
}

// A half disc of radius 10 about (10, 10), device y down: the flat side
// from (0, 10) to (20, 10), the round side through (10, 0) as two cubics.
struct HalfDisc {
    CapturedOutline outline = outlineOf({{0, 10, 6}, {20, 10, 2}, {17, 3, 2}, {10, 0, 2}, {3, 3, 3}});
    ExactCurves curves;
    HalfDisc()
    {
        constexpr double k = 10 * 0.5522847498; // a quarter circle's control distance
        CurvedFigure f{.start = {0, 10}, .segments = {}};
        f.segments.push_back({.cubic = false, .c1 = {}, .c2 = {}, .end = {20, 10}});
        f.segments.push_back({.cubic = true, .c1 = {20, 10 - k}, .c2 = {10 + k, 0}, .end = {10, 0}});
        f.segments.push_back({.cubic = true, .c1 = {10 - k, 0}, .c2 = {0, 10 - k}, .end = {0, 10}});
        curves.push_back(ExactCurve(std::move(f)));
    }
};

std::string pdfOf(const CapturedOutline& o, const PdfForm& form, const ExactCurves* curves = nullptr)
{
    StringSink out;
    writePdf(out, o, kMm, curves, form);
    return out.text();
}

// The file around a content stream, with its offsets worked out here.
std::string pdfFile(const std::string& mediaBox, const std::string& content)
{
    std::string head = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::string offsets;
    const auto object = [&](int n, const std::string& body) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", head.size());
        offsets += entry;
        head += std::to_string(n) + " 0 obj\n" + body + "\nendobj\n";
    };
    object(1, "<< /Type /Catalog /Pages 2 0 R >>");
    object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    object(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + mediaBox + "] /Resources << >> /Contents 4 0 R >>");
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", head.size());
    offsets += entry;
    head += "4 0 obj\n<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream\nendobj\n";
    return head + "xref\n0 5\n0000000000 65535 f \n" + offsets + "trailer\n<< /Size 5 /Root 1 0 R >>\nstartxref\n" +
           std::to_string(head.size()) + "\n%%EOF\n";
}

constexpr const char* kToMm = "2.834645669291339 0 0 2.834645669291339 0 0 cm\n";

TEST(DrawingWriters, PdfBytes)
{
    const HalfDisc disc;
    const struct {
        const char* name;
        std::string got, expected;
    } cases[] = {
        {"square filled, page of its extents", pdfOf(square(), {}),
         pdfFile("28.3465 28.3465", std::string(kToMm) + "0 g\n0 10 m\n10 10 l\n10 0 l\n0 0 l\nh\nf\n")},
        {"O cut on an A4 page, 10 mm margin", pdfOf(letterO(), {.page = MmSize{210, 297}, .marginMm = 10,
                                                               .paint = PdfPaint::Cut, .lineWidthMm = 0.05,
                                                               .colour = 0x0080FF}),
         pdfFile("595.2756 841.8898", std::string(kToMm) + "0 0.502 1 RG\n0.05 w\n"
                                                          "10 10 m\n10 0 l\n20 0 l\n20 10 l\nh\n"
                                                          "13 7 m\n17 7 l\n17 3 l\n13 3 l\nh\nS\n")},
        {"O with a 1 mm margin", pdfOf(letterO(), {.marginMm = 1}),
         pdfFile("34.0157 34.0157", std::string(kToMm) + "0 g\n1 11 m\n1 1 l\n11 1 l\n11 11 l\nh\n"
                                                         "4 8 m\n8 8 l\n8 4 l\n4 4 l\nh\nf\n")},
        {"half disc as its cubics", pdfOf(disc.outline, {}, &disc.curves),
         pdfFile("56.6929 28.3465", std::string(kToMm) + "0 g\n0 0 m\n20 0 l\n20 5.5228 15.5228 10 10 10 c\n"
                                                         "4.4772 10 0 5.5228 0 0 c\nh\nf\n")},
        {"nothing", pdfOf(outlineOf({}), {}), pdfFile("0 0", std::string(kToMm) + "0 g\n")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.name;
}

TEST(DrawingWriters, PdfRefusesAPageTheDrawingLeaves)
{
    // The square lies below its origin (y up): on a page it reaches below
    // the lower left unless the margin lifts it; and 10 mm is wider than 9.
    const struct {
        MmSize page;
        double margin;
        bool fits;
    } cases[] = {{{20, 20}, 0, false}, {{20, 20}, 10, true}, {{20, 20}, 9.99, false}, {{9, 30}, 10, false},
                 {{20, 20}, 10.01, false}};
    for (const auto& c : cases) {
        StringSink out;
        bool refused = false;
        try {
            writePdf(out, square(), kMm, nullptr, {.page = c.page, .marginMm = c.margin});
        } catch (const Failure& f) {
            refused = f.kind() == FailureKind::DoesNotFit;
        }
        EXPECT_EQ(refused, !c.fits) << c.page.width << " x " << c.page.height << ", margin " << c.margin;
        EXPECT_EQ(out.text().empty(), !c.fits) << "nothing is written when it does not fit";
    }
}

std::string hpglOf(const CapturedOutline& o, const HpglForm& form, const ExactCurves* curves = nullptr)
{
    StringSink out;
    writeHpgl(out, o, kMm, {curves, 0.005}, form);
    return out.text();
}

TEST(DrawingWriters, HpglBytes)
{
    const HalfDisc disc;
    const struct {
        const char* name;
        std::string got, expected;
    } cases[] = {
        // 40 units a millimetre, the lower left at (0,0).
        {"square", hpglOf(square(), {}), "IN;SP1;\nPU0,400;PD400,400,400,0,0,0,0,400;\nPU;\n"},
        {"O, pen 3, 0.5 mm overcut", hpglOf(letterO(), {.overcutMm = 0.5, .pen = 3}),
         "IN;SP3;\nPU0,400;PD0,0,400,0,400,400,0,400,0,380;\nPU120,280;PD280,280,280,120,120,120,120,280,140,280;\n"
         "PU;\n"},
        // The flat side a PD, the round side arcs about the centre (400,0)
        // counter-clockwise, y up, from (800,0) back to (0,0).
        {"half disc as arcs", hpglOf(disc.outline, {}, &disc.curves),
         "IN;SP1;\nPU0,0;PD800,0;AA400,0,90;AA400,0,90;\nPU;\n"},
        {"nothing", hpglOf(outlineOf({}), {}), "IN;SP1;\nPU;\n"},
        // Rounded half away from zero, -0.5 went to -1 and the drawing
        // left the plotter's origin by a unit.
        {"a corner half a unit off the grid", [] {
             StringSink out;
             writeHpgl(out, square(), {.originX = 0.0125, .originY = -0.0125, .dpi = 25.4}, {}, {});
             return out.text();
         }(),
         "IN;SP1;\nPU0,400;PD400,400,400,0,0,0,0,400;\nPU;\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.name;
}

} // namespace
} // namespace lw

namespace lw {
namespace {

TEST(DrawingWriters, Release12Bytes)
{
    StringSink out;
    writeDxf(out, square(), {.mm = kMm, .text = "a b", .version = DxfVersion::R12,
                             .textEntity = DxfText{.heightMm = 8.5, .angleDegrees = 30, .anchor = Anchor::Centre,
                                                   .mirror = Mirror::X}});
    const std::string expected =
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$DWGCODEPAGE\n  3\nANSI_932\n"
        "  9\n$INSBASE\n 10\n0\n 20\n0\n 30\n0\n  9\n$EXTMIN\n 10\n0\n 20\n-10\n 30\n0\n"
        "  9\n$EXTMAX\n 10\n10\n 20\n0\n 30\n0\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nTABLES\n"
        "  0\nTABLE\n  2\nLTYPE\n 70\n1\n  0\nLTYPE\n  2\nCONTINUOUS\n 70\n0\n  3\nSolid line\n 72\n65\n 73\n0\n"
        " 40\n0\n  0\nENDTAB\n"
        "  0\nTABLE\n  2\nLAYER\n 70\n3\n"
        "  0\nLAYER\n  2\n0\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n"
        "  0\nLAYER\n  2\nA_B\n 70\n0\n 62\n7\n  6\nCONTINUOUS\n"
        "  0\nLAYER\n  2\nLETTERWIRE_TEXT\n 70\n0\n 62\n8\n  6\nCONTINUOUS\n  0\nENDTAB\n"
        "  0\nTABLE\n  2\nSTYLE\n 70\n1\n  0\nSTYLE\n  2\nSTANDARD\n 70\n0\n 40\n0\n 41\n1\n 50\n0\n 71\n0\n"
        " 42\n2.5\n  3\ntxt\n  4\n\n  0\nENDTAB\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n"
        "  0\nPOLYLINE\n  8\nA_B\n 66\n1\n 10\n0\n 20\n0\n 30\n0\n 70\n1\n"
        "  0\nVERTEX\n  8\nA_B\n 10\n0\n 20\n0\n 30\n0\n"
        "  0\nVERTEX\n  8\nA_B\n 10\n10\n 20\n0\n 30\n0\n"
        "  0\nVERTEX\n  8\nA_B\n 10\n10\n 20\n-10\n 30\n0\n"
        "  0\nVERTEX\n  8\nA_B\n 10\n0\n 20\n-10\n 30\n0\n"
        "  0\nSEQEND\n  8\nA_B\n"
        "  0\nTEXT\n  8\nLETTERWIRE_TEXT\n 10\n0\n 20\n0\n 30\n0\n 40\n8.5\n  1\na b\n 50\n30\n 71\n2\n 72\n1\n"
        " 11\n0\n 21\n0\n 31\n0\n 73\n2\n"
        "  0\nENDSEC\n  0\nEOF\n";
    EXPECT_EQ(out.text(), expected);
}

} // namespace
} // namespace lw

namespace lw {
namespace {

// The TEXT's string as written: the line after its group code 1.
std::string textValue(const std::string& dxf)
{
    const std::size_t entity = dxf.find("\nTEXT\n");
    const std::size_t code = dxf.find("\n  1\n", entity);
    if (entity == std::string::npos || code == std::string::npos)
        return "(none)";
    const std::size_t from = code + 5;
    return dxf.substr(from, dxf.find('\n', from) - from);
}

TEST(DrawingWriters, TextIsCutAtAWholeCharacterWhereAReaderStops)
{
    std::string kanji, latin, percents;
    for (int i = 0; i < 200; ++i)
        kanji += "編", latin += "ab", percents += "%%";
    const struct {
        std::string text;
        DxfVersion version;
        std::string written;
    } cases[] = {
        // 255 bytes in R12: 127 double-byte characters, never half of one.
        {kanji, DxfVersion::R12, std::string(127 * 2, '\0')},
        {latin, DxfVersion::R12, latin.substr(0, 255)},
        {latin, DxfVersion::R2000, latin},
        {"50%%u", DxfVersion::R2000, "50%%%%%%u"},
        // Each "%" written as three: a third of the room.
        {percents, DxfVersion::R12, std::string(85 * 3, '%')},
    };
    for (const auto& c : cases) {
        StringSink out;
        writeDxf(out, square(), {.mm = kMm, .text = c.text, .version = c.version,
                                 .textEntity = DxfText{.heightMm = 1}});
        const std::string value = textValue(out.text());
        if (c.text == kanji) {
            ASSERT_EQ(value.size(), c.written.size());
            EXPECT_EQ(value, toCp932(std::string_view(kanji).substr(0, 127 * 3)));
        } else {
            EXPECT_EQ(value, c.written) << c.text.substr(0, 12);
        }
    }
}

} // namespace
} // namespace lw
