#include "export/tool_report.hpp"

#include "export/capture_json.hpp"

#include <charconv>
#include <cmath>

namespace lw {
namespace {

// Millimetres to a ten-thousandth: finer than any grid a drawing takes.
double rounded(double mm) { return std::round(mm * 1e4) / 1e4 + 0.0; }

// "0.512" for a person: three decimals, the grid's own step.
std::string fixed(double mm)
{
    char text[48];
    const double value = std::round(mm * 1e3) / 1e3 + 0.0;
    return std::string(text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3).ptr);
}

std::string count(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void appendPlace(std::string& out, const ReportPlace& at)
{
    out += "\"character\": ";
    appendJsonString(out, at.character);
    out += ", \"x\": ";
    appendJsonNumber(out, rounded(at.x));
    out += ", \"y\": ";
    appendJsonNumber(out, rounded(at.y));
}

void appendWidth(std::string& out, const ReportWidth& w)
{
    out += "{";
    appendPlace(out, w.at);
    out += ", \"width\": ";
    appendJsonNumber(out, rounded(w.width));
    out += "}";
}

void appendWidths(std::string& out, const char* name, const std::vector<ReportWidth>& widths)
{
    out += ", \"";
    out += name;
    out += "\": [";
    for (std::size_t k = 0; k < widths.size(); ++k) {
        out += k ? ", " : "";
        appendWidth(out, widths[k]);
    }
    out += "]";
}

void appendOptional(std::string& out, const char* name, const std::optional<ReportWidth>& w)
{
    out += ", \"";
    out += name;
    out += "\": ";
    if (w)
        appendWidth(out, *w);
    else
        out += "null";
}

std::string placeLine(const char* what, const ReportWidth& w)
{
    return std::string(what) + " " + fixed(w.width) + " mm in \"" + w.at.character + "\" at (" + fixed(w.at.x) +
           ", " + fixed(w.at.y) + ") mm\n";
}

} // namespace

void writeToolReportText(ByteSink& out, const ToolReport& report)
{
    const std::string thinnest =
        report.thinnestMaterial ? fixed(report.thinnestMaterial->width) + " mm" : std::string("none");
    const std::string narrowest = report.narrowestGap ? fixed(report.narrowestGap->width) + " mm" : std::string("none");
    const std::string figures = "thinnest material " + thinnest + ", narrowest gap " + narrowest + ", " +
                                count(report.islands.size(), "island", "islands");
    if (report.tool <= 0) {
        out << figures << "\n";
        return;
    }
    if (report.passes()) {
        out << "fits a " << fixed(report.tool) << " mm tool: " << figures << "\n";
        return;
    }
    out << "does not fit a " << fixed(report.tool) << " mm tool: " << figures << "\n";
    for (const ReportWidth& w : report.materialTooThin)
        out << placeLine("material", w);
    for (const ReportWidth& w : report.gapTooNarrow)
        out << placeLine("gap", w);
}

void writeToolReportJson(ByteSink& out, const ToolReport& report)
{
    std::string text = "{\"units\": \"mm\", \"tool\": ";
    if (report.tool > 0)
        appendJsonNumber(text, rounded(report.tool));
    else
        text += "null";
    text += ", \"fits\": ";
    text += report.tool <= 0 ? "null" : report.passes() ? "true" : "false";
    appendOptional(text, "thinnestMaterial", report.thinnestMaterial);
    appendOptional(text, "narrowestGap", report.narrowestGap);
    appendWidths(text, "materialTooThin", report.materialTooThin);
    appendWidths(text, "gapTooNarrow", report.gapTooNarrow);
    text += ", \"islands\": [";
    for (std::size_t k = 0; k < report.islands.size(); ++k) {
        text += k ? ", {" : "{";
        appendPlace(text, report.islands[k].at);
        text += ", \"area\": ";
        appendJsonNumber(text, std::round(report.islands[k].area * 1e6) / 1e6 + 0.0);
        text += "}";
    }
    text += "], \"bridges\": [";
    for (std::size_t k = 0; k < report.bridges.size(); ++k) {
        const ReportBridge& b = report.bridges[k];
        text += k ? ", {\"from\": [" : "{\"from\": [";
        appendJsonNumber(text, rounded(b.fromX));
        text += ", ";
        appendJsonNumber(text, rounded(b.fromY));
        text += "], \"to\": [";
        appendJsonNumber(text, rounded(b.toX));
        text += ", ";
        appendJsonNumber(text, rounded(b.toY));
        text += "], \"width\": ";
        appendJsonNumber(text, rounded(b.width));
        text += "}";
    }
    text += "], \"deviationBound\": ";
    appendJsonNumber(text, rounded(report.deviationBound));
    text += "}\n";
    out << text;
}

} // namespace lw
