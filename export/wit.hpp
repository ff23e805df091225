#pragma once
// The WIT export: the last capture as a WIT file (a header, one "POLYLINE2"
// entity per figure, "EOF"), handed to the converter "mfin".
//
//   writeWit(out, outline, 501, 494);
//   // "#  from DX to EX\r\nHEADER\r\n...0.0 501 0.0 494\r\n...EOF\r\n"

#include "base/byte_sink.hpp"
#include "outline/captured_outline.hpp"

#include <string>

namespace lw {

// Writes the whole WIT file: points 0 to the upper index - 1 of the capture,
// each as its x and the mirrored clientHeight - y in the print form; a move-to
// point opens an entity, the first point is not repeated. Every line ends in
// CR LF. Arrays shorter than the upper index are subscript out of range.
void writeWit(ByteSink& out, const CapturedOutline& outline, float clientWidth,
              float clientHeight);

// The export behind OK in mode "WIT" and the "Wit" button: writes a new work
// file of its own, "tmp-" + random letters + ".wmf", in programDirectory (in
// the user's own work folder when programDirectory cannot be written),
// closes it, then starts "mfin" with the work file and outputPath without
// waiting. The work file is removed when the converter has ended (at once
// when it cannot start). No new capture is made.
void WitOut(const CapturedOutline& outline, float clientWidth, float clientHeight,
            const std::string& programDirectory, const std::string& outputPath);

} // namespace lw
