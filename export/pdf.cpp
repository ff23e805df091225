#include "export/pdf.hpp"

#include "base/failure.hpp"
#include "outline/curve_bounds.hpp"
#include "outline/open_lines.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace lw {
namespace {

constexpr double kPointsPerMm = 72 / kMmPerInch;

// Fixed decimals without trailing zeros, locale-free; -0 is written as 0.
void appendFixed(std::string& out, double value, int decimals)
{
    char buffer[64];
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    char* end = std::to_chars(buffer, buffer + sizeof buffer, rounded + 0.0, std::chars_format::fixed, decimals).ptr;
    if (decimals > 0) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    if (end - buffer == 2 && buffer[0] == '-' && buffer[1] == '0')
        out += '0';
    else
        out.append(buffer, end);
}

// A tenth of a micrometre: far below any grid a capture works at. The same
// text as appendFixed(out, value, 4), from whole ten-thousandths, as the
// bulk of a file is these numbers.
void appendMm(std::string& out, double value)
{
    const double scaled = std::round(value * 1e4);
    if (!(std::fabs(scaled) < 9e15)) {
        appendFixed(out, value, 4);
        return;
    }
    const long long whole = static_cast<long long>(scaled);
    unsigned long long magnitude = static_cast<unsigned long long>(whole < 0 ? -whole : whole);
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* at = end;
    unsigned fraction = unsigned(magnitude % 10000);
    magnitude /= 10000;
    int digits = 4;
    while (digits > 0 && fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    for (int i = 0; i < digits; ++i) {
        *--at = char('0' + fraction % 10);
        fraction /= 10;
    }
    if (digits > 0)
        *--at = '.';
    do {
        *--at = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (whole < 0)
        *--at = '-';
    out.append(at, end);
}

struct Box {
    bool any = false;
    double left = 0, bottom = 0, right = 0, top = 0; // millimetres, y up
};

// Device pixels (or grid units) to millimetres at 1:1, y up, then moved.
struct Place {
    double originX, originY, mmPerUnit, shiftX, shiftY;
    double x(double px) const { return (px - originX) * mmPerUnit + shiftX; }
    double y(double py) const { return (originY - py) * mmPerUnit + shiftY; }
};

// The figures as written: a curve's exact box, or the points'.
Box drawingBox(const CapturedOutline& o, const Place& at, const ExactCurves* curves)
{
    CurveBox box;
    std::vector<CurveSegment> moved;
    std::size_t closed = 0;
    for (const Figure& f : figures(o)) {
        if (!f.closed)
            continue;
        if (const std::size_t k = closed++; curves && k < curves->size() && (*curves)[k]) {
            const ExactCurve& c = *(*curves)[k];
            boundFigure(box, c.start, segmentsOf(c, moved));
            continue;
        }
        for (const POINT& p : f.points)
            box.add({double(p.x), double(p.y)});
    }
    Box b;
    if (box.any) {
        b.any = true;
        b.left = std::min(at.x(box.left), at.x(box.right));
        b.right = std::max(at.x(box.left), at.x(box.right));
        b.bottom = std::min(at.y(box.top), at.y(box.bottom));
        b.top = std::max(at.y(box.top), at.y(box.bottom));
    }
    return b;
}

void appendPoint(std::string& out, const Place& at, double px, double py)
{
    appendMm(out, at.x(px));
    out += ' ';
    appendMm(out, at.y(py));
}

void appendPath(std::string& out, const CapturedOutline& o, const Place& at, const ExactCurves* curves)
{
    std::vector<CurveSegment> moved;
    std::size_t closed = 0;
    for (const Figure& f : figures(o)) {
        if (!f.closed)
            continue;
        if (const std::size_t k = closed++; curves && k < curves->size() && (*curves)[k]) {
            const ExactCurve& c = *(*curves)[k];
            appendPoint(out, at, c.start.x, c.start.y);
            out += " m\n";
            for (const CurveSegment& s : segmentsOf(c, moved)) {
                if (s.cubic) {
                    appendPoint(out, at, s.c1.x, s.c1.y);
                    out += ' ';
                    appendPoint(out, at, s.c2.x, s.c2.y);
                    out += ' ';
                    appendPoint(out, at, s.end.x, s.end.y);
                    out += " c\n";
                } else {
                    appendPoint(out, at, s.end.x, s.end.y);
                    out += " l\n";
                }
            }
            out += "h\n";
            continue;
        }
        for (std::size_t i = 0; i < f.points.size(); ++i) {
            appendPoint(out, at, f.points[i].x, f.points[i].y);
            out += i == 0 ? " m\n" : " l\n";
        }
        out += "h\n";
    }
}

std::string pointText(double x, double y)
{
    std::string out;
    appendFixed(out, x, 2);
    out += ", ";
    appendFixed(out, y, 2);
    return out;
}

std::string sizeText(double width, double height)
{
    std::string out;
    appendFixed(out, width, 2);
    out += " x ";
    appendFixed(out, height, 2);
    return out + " mm";
}

} // namespace

std::optional<MmSize> pdfPageNamed(std::string_view word)
{
    std::string folded(word);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (folded == "a4")
        return MmSize{210, 297};
    if (folded == "a3")
        return MmSize{297, 420};
    if (folded.size() < 5 || !folded.ends_with("mm"))
        return std::nullopt;
    const std::string_view sides = std::string_view(folded).substr(0, folded.size() - 2);
    const std::size_t by = sides.find('x');
    if (by == std::string_view::npos)
        return std::nullopt;
    MmSize size;
    const auto read = [](std::string_view text, double& value) {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return !text.empty() && error == std::errc() && end == text.data() + text.size() && value > 0 &&
               value <= kPdfLargestPageMm;
    };
    if (!read(sides.substr(0, by), size.width) || !read(sides.substr(by + 1), size.height))
        return std::nullopt;
    return size;
}

std::optional<std::uint32_t> pdfColourNamed(std::string_view word)
{
    if (word.starts_with('#'))
        word.remove_prefix(1);
    if (word.size() != 6)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : word) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + std::uint32_t(digit);
    }
    return value;
}

namespace {

// The page, and the move that puts the drawing's box on it as the form asks.
struct PageFit {
    MmSize page;
    double shiftX = 0, shiftY = 0;
};

PageFit fitOnPage(const Box& box, const PdfForm& form)
{
    const double margin = form.marginMm;
    PageFit fit;
    if (form.page) {
        fit.page = *form.page;
        fit.shiftX = fit.shiftY = margin;
        // Nothing is cut off unseen: a drawing that leaves the page is the
        // user's to place again.
        const double left = box.left + margin, bottom = box.bottom + margin;
        const double right = box.right + margin, top = box.top + margin;
        // A nanometre of slack for the sums' rounding.
        constexpr double kSlack = 1e-6;
        const MmSize& page = fit.page;
        if (box.any && (left < -kSlack || bottom < -kSlack || right > page.width + kSlack || top > page.height + kSlack))
            throw Failure(FailureKind::DoesNotFit,
                          "the drawing reaches from (" + pointText(left, bottom) + ") to (" + pointText(right, top) +
                              ") mm on the " + sizeText(page.width, page.height) +
                              " page, beyond its edge; choose a larger page, another anchor or another margin. "
                              "Nothing was written.");
    } else {
        fit.page = {box.right - box.left + 2 * margin, box.top - box.bottom + 2 * margin};
        fit.shiftX = margin - box.left;
        fit.shiftY = margin - box.bottom;
    }
    return fit;
}

// The page's matrix to millimetres, then the paint's colour (and width).
std::string contentHead(PdfPaint paint, double lineWidthMm, std::uint32_t colour)
{
    std::string content;
    appendFixed(content, kPointsPerMm, 15);
    content += " 0 0 ";
    appendFixed(content, kPointsPerMm, 15);
    content += " 0 0 cm\n";
    if (paint == PdfPaint::Cut) {
        for (const int shift : {16, 8, 0}) {
            appendFixed(content, double((colour >> shift) & 0xFF) / 255, 4);
            content += ' ';
        }
        content += "RG\n";
        appendMm(content, lineWidthMm);
        content += " w\n";
    } else {
        content += "0 g\n";
    }
    return content;
}

void writeDocument(ByteSink& out, const MmSize& page, const std::string& content)
{
    std::string head = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    const auto object = [&](std::string body) {
        offsets.push_back(head.size());
        head += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    std::string mediaBox;
    appendFixed(mediaBox, page.width * kPointsPerMm, 4);
    mediaBox += ' ';
    appendFixed(mediaBox, page.height * kPointsPerMm, 4);
    object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + mediaBox + "] /Resources << >> /Contents 4 0 R >>");
    offsets.push_back(head.size());
    head += "4 0 obj\n<< /Length " + std::to_string(content.size()) + " >>\nstream\n";
    out << head << content;
    std::string tail = "endstream\nendobj\n";
    const std::size_t xref = head.size() + content.size() + tail.size();
    tail += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        tail += entry;
    }
    tail += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
            std::to_string(xref) + "\n%%EOF\n";
    out << tail;
}

} // namespace

void writePdf(ByteSink& out, const CapturedOutline& outline, const MmPlacement& mm, const ExactCurves* curves,
              const PdfForm& form)
{
    Place at{mm.originX, mm.originY, kMmPerInch / mm.dpi, 0, 0};
    const PageFit fit = fitOnPage(drawingBox(outline, at, curves), form);
    at.shiftX = fit.shiftX;
    at.shiftY = fit.shiftY;
    std::string content = contentHead(form.paint, form.lineWidthMm, form.colour);
    const std::size_t before = content.size();
    appendPath(content, outline, at, curves);
    // A paint operator with no path before it is an error to strict readers.
    if (content.size() != before)
        content += form.paint == PdfPaint::Cut ? "S\n" : "f\n";
    writeDocument(out, fit.page, content);
}

void writeOpenLinesPdf(ByteSink& out, const OpenLines& lines, const PdfForm& form)
{
    const bool cut = form.paint == PdfPaint::Cut;
    // Filled, the pen's ink reaches half its width past the lines and must
    // lie on the page too; a cut line is its geometry, as outlines are.
    const double reach = cut ? 0 : lines.penMm / 2;
    Box box;
    if (const std::optional<MmBox> lineBox = lines.box())
        box = {.any = true, .left = lineBox->min.x - reach, .bottom = lineBox->min.y - reach,
               .right = lineBox->max.x + reach, .top = lineBox->max.y + reach};
    const PageFit fit = fitOnPage(box, form);
    std::string content = contentHead(PdfPaint::Cut, cut ? form.lineWidthMm : lines.penMm,
                                      cut ? form.colour : 0x000000);
    // Round ends and joins, as a round pen leaves them.
    if (!cut)
        content += "1 J 1 j\n";
    const std::size_t before = content.size();
    for (std::size_t i = 0; i < lines.count(); ++i) {
        const std::span<const MmPoint> line = lines.line(i);
        for (std::size_t k = 0; k < line.size(); ++k) {
            appendMm(content, line[k].x + fit.shiftX);
            content += ' ';
            appendMm(content, line[k].y + fit.shiftY);
            content += k == 0 ? " m\n" : " l\n";
        }
    }
    if (content.size() != before)
        content += "S\n";
    writeDocument(out, fit.page, content);
}

} // namespace lw
