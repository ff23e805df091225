#pragma once
// Command-line options of letterwire-cli: the capture inputs every
// subcommand shares, the positional arguments of each subcommand, and the
// help texts.

#include "cli/batch_encoding.hpp"
#include "export/output_choices.hpp"
#include "outline/anchor.hpp"
#include "outline/text_output.hpp"
#include "outline/text_style.hpp"
#include "outline/window_font.hpp"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lw::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What the command line asks for before any work: a help text, the
// version, or a command.
enum class Request { Run, Help, Version };

struct Options {
    Request request = Request::Run;
    std::string command;                 // capture, jw, wit, svg, dxf; the help's subject for Help
    std::vector<std::string> positional; // the subcommand's files
    std::string text = design::kText;
    WindowFont font;                     // face, size, italic, underline, strikeout
    std::int32_t angle = 0;
    bool centre = false;
    double dpi = design::kDpi;
    std::optional<double> precisionMm;   // --precision: the grid step at 1:1 (dxf and svg: 0.01 unless given)
    bool classic = false;                // --precision classic
    Advances advances = Advances::Device; // Linear at a chosen step
    bool millimetres = false;            // capture --units mm
    bool noConvert = false;
    bool merge = true;                   // svg, dxf: overlaps merged (--no-merge: as captured)
    double offsetMm = 0;                 // svg, dxf: --offset, outer contours outward
    bool curves = false;                 // svg, dxf: --curves, the font's exact curves (arcs, Béziers)
    TextStyle style;                     // --spacing, --width, --bold, --arc (--arc-at, --fit-arc, --anchor)
    Anchor anchor = Anchor::BaselineLeft; // svg, dxf: --anchor, the drawing's origin
    Mirror mirror = Mirror::None;         // svg, dxf: --mirror, about the anchor
    std::string strokeFont;              // --stroke-font NAME|PATH: open lines in a stroke font ("@": vertical)
    std::optional<double> penMm;         // svg: --pen-width, the stroke width of open lines
    bool allowMissing = false;           // --allow-missing: characters no stroke font has are left out
    bool stroke = false;                 // fonts --stroke
    bool centreline = false;             // --centreline: an outline face's centreline as open lines
    OutputChoices output;                 // pdf, hpgl, dxf: each format's own options
    // Each format's own options as given ("--page", "pdf"): a single run of
    // another format refuses them; a batch's rows take those of their format.
    std::vector<std::pair<std::string, std::string>> formatOptions;
    ListEncoding encoding = ListEncoding::Detect; // batch: --encoding of the list
    std::size_t encodingAt = 0;           // where --encoding stands, when given (never 0)
    std::optional<double> toolMm;         // check --tool, svg/dxf/batch --check: the tool's width
    bool checkAsked = false;              // check, or --check given
    std::string reportPath;               // --report: the check's JSON
    double stencilMm = 0;                 // svg, dxf, batch: --stencil, the bridges' width (0: none)
    int stencilBridges = 1;               // --stencil-bridges: bridges per island
    // Where the command and the files stand in the arguments, and whether
    // --text was given: batch builds each row's run from them.
    std::size_t commandAt = 0;
    std::vector<std::size_t> positionalAt;
    bool textGiven = false;
};

// Throws UsageError with a one-line message. --precision is turned into the
// capture's dpi here, within the work bound: a step in millimetres gives a
// resolution at which the size is a whole number of pixels and the linear
// advances; "classic" the designed capture at 96 dpi.
Options parseOptions(const std::vector<std::string>& args);

// The first control character of a text meant as one line, and where it
// stands ("a tab at character 3"); empty when there is none.
std::string controlCharacterIn(std::string_view text);

// The whole help, or one command's ("" for the whole).
std::string usageText(const std::string& command = {});

// The commands, for "help COMMAND".
bool isCommand(const std::string& word);

// A command's arguments, as its usage line shows them ("svg OUTPUT [options]").
std::string synopsis(const std::string& command);

} // namespace lw::cli
