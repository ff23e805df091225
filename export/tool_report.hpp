#pragma once
// What a tool check found, in millimetres at 1:1 (y up, the drawing's own
// origin), and its two forms: a few lines for a person, and one JSON object
// for scripts (its schema is in the README). Locale-free numbers.
//
//   ToolReport report = capture.check(cad, 0.5);
//   writeToolReportJson(out, report);
//   return report.passes() ? 0 : 1;

#include "base/byte_sink.hpp"

#include <optional>
#include <string>
#include <vector>

namespace lw {

// A place of the drawing: the character it lies in (UTF-8; empty where
// none can be told) and its point.
struct ReportPlace {
    std::string character;
    double x = 0, y = 0;
};

// Material or gap as wide as `width` at a place.
struct ReportWidth {
    ReportPlace at;
    double width = 0;
};

struct ReportIsland {
    ReportPlace at;
    double area = 0; // square millimetres
};

// A stencil's bridge across a stroke, from the island's side to the sheet's.
struct ReportBridge {
    double fromX = 0, fromY = 0, toX = 0, toY = 0;
    double width = 0;
};

struct ToolReport {
    double tool = 0; // the tool's width; 0: none given
    std::optional<ReportWidth> thinnestMaterial, narrowestGap;
    std::vector<ReportWidth> materialTooThin, gapTooNarrow; // narrower than the tool
    std::vector<ReportIsland> islands;
    std::vector<ReportBridge> bridges; // with a stencil
    double deviationBound = 0;

    bool passes() const { return materialTooThin.empty() && gapTooNarrow.empty(); }
};

// One line when the drawing passes ("fits a 0.5 mm tool: thinnest material
// 0.62 mm, narrowest gap 0.71 mm, 3 islands"), else a line per place.
void writeToolReportText(ByteSink& out, const ToolReport& report);

// The whole report as one JSON object and a line end.
void writeToolReportJson(ByteSink& out, const ToolReport& report);

} // namespace lw
