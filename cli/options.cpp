#include "cli/options.hpp"

#include "cli/centreline_run.hpp"
#include "cli/option_values.hpp"
#include "cli/usage_text.hpp"
#include "cli/work_check.hpp"
#include "base/lengths.hpp"
#include "base/numbers.hpp"
#include "outline/arc_text.hpp"

#include "base/shown_input.hpp"
#include "base/utf8.hpp"
#include "outline/fit.hpp"
#include "outline/glyph_points.hpp"
#include "outline/option_limits.hpp"
#include "outline/precision.hpp"
#include "outline/work_bound.hpp"
#include "platform/font_file.hpp"

#include <algorithm>
#include <string_view>
#include <vector>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace lw::cli {
namespace {

// The options the parser knows, for "did you mean".
constexpr std::string_view kOptionNames[] = {"--help",      "--version", "--text",  "--font",      "--size",
                                             "--angle",     "--italic",  "--underline", "--strikeout",
                                             "--centre",    "--center",  "--dpi",   "--precision", "--units",
                                             "--no-convert", "--no-merge", "--offset", "--curves",
                                             "--anchor",    "--mirror",
                                             "--spacing",   "--width",   "--bold",
                                             "--size-of",   "--fit",     "--fit-by", "--oblique",
                                             "--stroke-font", "--pen-width", "--allow-missing", "--stroke",
                                             "--margin",    "--page",    "--pdf-style", "--line-width",
                                             "--colour",    "--color",   "--overcut",   "--pen",
                                             "--dxf-version", "--dxf-text", "--encoding",
                                             "--tool",      "--check",   "--report", "--stencil",
                                             "--stencil-bridges", "--arc",   "--arc-at",  "--fit-arc",
                                             "--kerning",   "--features", "--font-file",
                                             "--centreline", "--centerline"};

} // namespace

Options parseOptions(const std::vector<std::string>& args)
{
    Options o;
    bool dpiGiven = false;
    bool spacingGiven = false, widthGiven = false;
    std::string sizeOf, fitBy;
    bool anchorGiven = false;
    std::string unitsGiven;
    std::string cadGiven;
    bool encodingGiven = false;
    bool toolGiven = false, checkGiven = false, bridgesGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h") {
            o.request = Request::Help;
        } else if (a == "--version") {
            o.request = Request::Version;
        } else if (a == "--text") {
            o.text = oneLine(value());
            o.textGiven = true;
        } else if (a == "--font") {
            o.font.faceName = value();
        } else if (a == "--font-file") {
            // As a face name, so the last of --font and --font-file chooses
            // (a batch row's font stands after the command line's options).
            o.font.faceName = fontFileFamily(value());
        } else if (a == "--size") {
            o.font.size = static_cast<float>(sizeValue(value()));
        } else if (a == "--size-of") {
            sizeOf = value();
            if (sizeOf != "em" && sizeOf != "cap")
                throw UsageError("--size-of must be em (the em, as points measure) or cap (the height of a capital H)");
        } else if (a == "--fit") {
            o.style.fitMm = fitMillimetres(value());
        } else if (a == "--fit-by") {
            fitBy = value();
            if (fitBy != "spacing" && fitBy != "width")
                throw UsageError("--fit-by must be spacing (between the characters) or width (the characters' width)");
            o.style.fitBy = fitBy == "width" ? TextStyle::FitBy::Width : TextStyle::FitBy::Spacing;
        } else if (a == "--oblique") {
            o.style.oblique = obliqueDegrees(value());
        } else if (a == "--angle") {
            double angle = number(a, value());
            if (std::trunc(angle) != angle)
                throw UsageError("--angle must be a whole number of degrees");
            // Ten times the angle is the font's escapement, a 32-bit number.
            if (std::fabs(angle) > kAngleLimit)
                throw UsageError("--angle must be from -" + std::to_string(kAngleLimit) + " to " +
                                 std::to_string(kAngleLimit) + " degrees");
            o.angle = static_cast<std::int32_t>(angle);
        } else if (a == "--italic") {
            o.font.italic = true;
        } else if (a == "--underline") {
            o.font.underline = true;
        } else if (a == "--strikeout") {
            o.font.strikeout = true;
        } else if (a == "--spacing") {
            o.style.spacing = spacingPoints(value());
            spacingGiven = true;
        } else if (a == "--width") {
            o.style.widthPercent = widthPercent(value());
            widthGiven = true;
        } else if (a == "--bold") {
            o.style.bold = true;
        } else if (a == "--arc") {
            o.style.arc.radiusMm = number(a, value());
            if (const OptionLimit& limit = optionLimit(LimitedOption::ArcRadius);
                o.style.arc.radiusMm == 0 || !limit.holds(o.style.arc.radiusMm))
                throw UsageError("--arc must be a radius " + limitWords(limit) + ", not 0 (negative: inside the circle)");
        } else if (a == "--arc-at") {
            const double at = number(a, value());
            if (std::fabs(at) > kWholeCircleDegrees)
                throw UsageError("--arc-at must be from -360 to 360 degrees");
            o.style.arc.atDegrees = at;
        } else if (a == "--fit-arc") {
            const double fit = number(a, value());
            if (!(fit > 0 && fit <= kWholeCircleDegrees))
                throw UsageError("--fit-arc must be above 0 and at most 360 degrees");
            o.style.arc.fitDegrees = fit;
        } else if (a == "--kerning") {
            o.style.shaping.kerning = true;
        } else if (a == "--features") {
            o.style.shaping.features = featureTags(value());
        } else if (a == "--centre" || a == "--center") {
            o.centre = true;
        } else if (a == "--dpi") {
            o.dpi = number(a, value());
            dpiGiven = true;
            if (!(o.dpi >= kDpiLowest && o.dpi <= kDpiHighest))
                throw UsageError("--dpi must be from " + shortest(kDpiLowest) + " to " + shortest(kDpiHighest));
        } else if (a == "--precision") {
            const std::string& text = value();
            if (text == kClassicWord) {
                o.classic = true;
                continue;
            }
            const std::optional<double> mm = millimetresIn(text);
            if (!mm)
                throw UsageError("--precision: " + quotedInput(text) + " is not a number; give the grid step in mm, from " +
                                 shortest(kFinestStepMm) + " to " + shortest(kCoarsestStepMm) + ", or " +
                                 kClassicWording);
            o.precisionMm = *mm;
            o.classic = false;
        } else if (a == "--units") {
            unitsGiven = value();
            if (unitsGiven != "mm" && unitsGiven != "px")
                throw UsageError("--units must be mm (or px, the default)");
            o.millimetres = unitsGiven == "mm";
        } else if (a == "--no-convert") {
            o.noConvert = true;
        } else if (a == "--no-merge") {
            o.merge = false;
            cadGiven = a;
        } else if (a == "--offset") {
            const std::string& text = value();
            const std::optional<double> mm = millimetresIn(text);
            if (!mm)
                throw UsageError("--offset: " + quotedInput(text) + " is not a number of millimetres (0.1 or 0.1mm)");
            o.offsetMm = *mm;
            cadGiven = a;
            if (const OptionLimit& limit = optionLimit(LimitedOption::Offset); !limit.holds(o.offsetMm))
                throw UsageError("--offset must be " + limitWords(limit));
        } else if (a == "--anchor") {
            const std::string& word = value();
            const std::optional<Anchor> anchor = anchorNamed(word);
            if (!anchor)
                throw UsageError("--anchor: " + quotedInput(word) + " is not a point of the text's box" +
                                 didYouMean(word, kAnchorWords) + " (see --help)");
            o.anchor = *anchor;
            anchorGiven = true;
            cadGiven = a;
        } else if (a == "--mirror") {
            const std::string& word = value();
            const std::optional<Mirror> mirror = mirrorNamed(word);
            if (!mirror)
                throw UsageError("--mirror must be x (left and right) or y (top and bottom)");
            o.mirror = *mirror;
            cadGiven = a;
        } else if (a == "--stroke-font") {
            o.strokeFont = value();
            if (o.strokeFont.empty() || o.strokeFont == "@")
                throw UsageError("--stroke-font needs a name or a path (see fonts --stroke)");
        } else if (a == "--pen-width") {
            o.penMm = number(a, value());
            if (!(*o.penMm > 0 && *o.penMm <= kWidestPenMm))
                throw UsageError("--pen-width must be above 0 and at most " + shortest(kWidestPenMm) + " mm");
        } else if (a == "--allow-missing") {
            o.allowMissing = true;
        } else if (a == "--stroke") {
            o.stroke = true;
        } else if (a == "--centreline" || a == "--centerline") {
            o.centreline = true;
        } else if (a == "--encoding") {
            o.encodingAt = i;
            const std::string& word = value();
            if (word == "utf-8" || word == "UTF-8" || word == "utf8")
                o.encoding = ListEncoding::Utf8;
            else if (word == "cp932" || word == "CP932" || word == "shift-jis" || word == "sjis")
                o.encoding = ListEncoding::Cp932;
            else
                throw UsageError("--encoding must be utf-8 or cp932 (Shift-JIS)");
            encodingGiven = true;
        } else if (a == "--curves") {
            o.curves = true;
            cadGiven = a;
        } else if (a == "--page") {
            const std::string& word = value();
            o.output.pdf.page = pdfPageNamed(word);
            if (!o.output.pdf.page)
                throw UsageError("--page: " + quotedInput(word) + " is not a page; give A4, A3 or WxHmm (100x50mm), "
                                 "each side above 0 and at most " + shortest(kPdfLargestPageMm) + " mm");
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--margin") {
            o.output.pdf.marginMm = number(a, value());
            if (!(o.output.pdf.marginMm >= 0 && o.output.pdf.marginMm <= kPdfLargestMarginMm))
                throw UsageError("--margin must be from 0 to " + shortest(kPdfLargestMarginMm) + " mm");
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--pdf-style") {
            const std::string& word = value();
            if (word != "fill" && word != "cut")
                throw UsageError("--pdf-style must be fill or cut");
            o.output.pdf.paint = word == "cut" ? PdfPaint::Cut : PdfPaint::Fill;
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--line-width") {
            o.output.pdf.lineWidthMm = number(a, value());
            if (!(o.output.pdf.lineWidthMm > 0 && o.output.pdf.lineWidthMm <= kPdfThickestLineMm))
                throw UsageError("--line-width must be above 0 and at most " + shortest(kPdfThickestLineMm) + " mm");
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--colour" || a == "--color") {
            const std::string& word = value();
            const std::optional<std::uint32_t> colour = pdfColourNamed(word);
            if (!colour)
                throw UsageError(a + ": " + quotedInput(word) + " is not a colour; give six hex digits RRGGBB (FF0000)");
            o.output.pdf.colour = *colour;
            o.formatOptions.emplace_back(a, "pdf");
        } else if (a == "--overcut") {
            o.output.hpgl.overcutMm = number(a, value());
            if (!(o.output.hpgl.overcutMm >= 0 && o.output.hpgl.overcutMm <= kHpglLongestOvercutMm))
                throw UsageError("--overcut must be from 0 to " + shortest(kHpglLongestOvercutMm) + " mm");
            o.formatOptions.emplace_back(a, "hpgl");
        } else if (a == "--pen") {
            const std::string& word = value();
            int pen = 0;
            const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), pen);
            if (word.empty() || error != std::errc() || end != word.data() + word.size() || pen < 1 ||
                pen > kHpglHighestPen)
                throw UsageError("--pen must be a whole number from 1 to " + std::to_string(kHpglHighestPen));
            o.output.hpgl.pen = pen;
            o.formatOptions.emplace_back(a, "hpgl");
        } else if (a == "--dxf-version") {
            const std::string& word = value();
            if (word == "2000")
                o.output.dxfVersion = DxfVersion::R2000;
            else if (word == "r12" || word == "R12")
                o.output.dxfVersion = DxfVersion::R12;
            else
                throw UsageError("--dxf-version must be 2000 or r12");
            o.formatOptions.emplace_back(a, "dxf");
        } else if (a == "--dxf-text") {
            o.output.dxfText = true;
            o.formatOptions.emplace_back(a, "dxf");
        } else if (a == "--tool" || a == "--check") {
            const double mm = number(a, value());
            if (!(mm > 0 && mm <= kToolLimitMm))
                throw UsageError(a + " must be above 0 and at most " + shortest(kToolLimitMm) + " mm (the tool's width)");
            o.toolMm = mm;
            o.checkAsked = true;
            (a == "--tool" ? toolGiven : checkGiven) = true;
        } else if (a == "--report") {
            o.reportPath = value();
            if (o.reportPath.empty())
                throw UsageError("--report: the file path is empty");
        } else if (a == "--stencil") {
            o.stencilMm = number(a, value());
            if (!(o.stencilMm > 0 && o.stencilMm <= kToolLimitMm))
                throw UsageError("--stencil must be above 0 and at most " + shortest(kToolLimitMm) +
                                 " mm (the bridges' width)");
            cadGiven = a;
        } else if (a == "--stencil-bridges") {
            const double n = number(a, value());
            if (!(n >= 1 && n <= kMostBridges) || std::trunc(n) != n)
                throw UsageError("--stencil-bridges must be a whole number from 1 to " + std::to_string(kMostBridges));
            o.stencilBridges = int(n);
            bridgesGiven = true;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            throw UsageError("unknown option " + shownInput(a) + didYouMean(a, kOptionNames));
        } else if (o.command.empty()) {
            o.command = a;
            o.commandAt = i;
        } else {
            o.positional.push_back(a);
            o.positionalAt.push_back(i);
        }
    }
    if (o.request == Request::Version)
        return o;
    // "help COMMAND" is "COMMAND --help".
    if (o.command == "help") {
        o.request = Request::Help;
        o.command = o.positional.empty() ? std::string() : o.positional.front();
        if (!o.command.empty() && !isCommand(o.command))
            throw UsageError("no command " + o.command + " (capture, jw, wit, svg, dxf, pdf, hpgl, check or batch)" +
                             didYouMean(o.command, commandNames()));
        return o;
    }
    if (o.request == Request::Help)
        return o;
    if (o.command.empty())
        throw UsageError("no command given (capture, jw, wit, svg, dxf, pdf, hpgl, check or batch); see --help");
    if (!isCommand(o.command)) {
        const std::string meant = didYouMean(o.command, commandNames());
        throw UsageError("unknown command " + o.command + (meant.empty() ? "; see --help" : meant));
    }
    if (o.stroke != (o.command == "fonts"))
        throw UsageError(o.stroke ? "--stroke applies to fonts only" : "fonts lists the stroke fonts; give --stroke");
    if (o.command == "fonts") {
        if (!o.positional.empty())
            throw UsageError("usage: letterwire-cli " + synopsis(o.command));
        return o;
    }
    if (!o.strokeFont.empty() && (o.command == "jw" || o.command == "wit"))
        throw UsageError("--stroke-font: " + o.command + " takes the closed outline of an outline face, "
                         "which a stroke font's open lines are not");
    // An overcut closes a contour's cut; a pen's open stroke has no contour
    // to go on round, and silently dropping what was asked would mislead.
    if (!o.strokeFont.empty() && o.offsetMm == 0 && o.output.hpgl.overcutMm > 0)
        throw UsageError("--overcut: a stroke font's lines are open and have no contour to cut past; "
                         "--overcut applies with --offset, whose outlines are closed");
    if (!o.strokeFont.empty() && (o.stencilMm > 0 || o.checkAsked))
        throw UsageError(std::string("--stroke-font: ") + (o.stencilMm > 0 ? "--stencil" : "the tool check") +
                         " measures closed outlines; a stroke font's open lines have none");
    if (!o.strokeFont.empty() && o.style.arc.isArc())
        throw UsageError("--stroke-font: --arc places outline glyphs so far; a stroke font's lines stay straight");
    if (!o.strokeFont.empty() && o.curves)
        refuseOpenCurves(o);
    if (!o.strokeFont.empty() && (o.font.italic || o.font.underline || o.font.strikeout || o.style.bold))
        throw UsageError("--stroke-font draws the strokes as they are; --italic, --underline, --strikeout "
                         "and --bold apply to outline faces");
    if (!o.strokeFont.empty() && !o.style.shaping.isPlain())
        throw UsageError(std::string(o.style.shaping.kerning ? "--kerning" : "--features") +
                         " shapes an outline face's glyphs; a stroke font's characters have no such tables");
    if (!o.strokeFont.empty() && (o.style.oblique != 0 || o.style.fitMm > 0 || sizeOf == "cap"))
        throw UsageError(std::string("--stroke-font: ") +
                         (o.style.oblique != 0 ? "--oblique" : o.style.fitMm > 0 ? "--fit" : "--size-of cap") +
                         " applies to outline faces so far; a stroke font's lines are drawn as they are");
    if (o.centreline)
        refuseWithCentreline(o, unitsGiven);
    if (o.strokeFont.empty() && ((o.penMm && !o.centreline) || o.allowMissing))
        throw UsageError(std::string(o.penMm ? "--pen-width applies with --stroke-font only, or with --centreline"
                                             : "--allow-missing applies with --stroke-font only"));
    if (!o.strokeFont.empty() && o.offsetMm < 0)
        throw UsageError("--offset with --stroke-font is the pen's radius around the strokes; it must be above 0");
    if (!o.strokeFont.empty() && o.centre)
        throw UsageError("--stroke-font places the text by its own box; --centre does not apply (--anchor centre does)");
    if (o.penMm && o.command != "svg" && o.command != "pdf" && o.command != "batch")
        throw UsageError("--pen-width applies to svg and pdf only");
    for (const std::string& file : o.positional)
        if (file.empty())
            throw UsageError(o.command + ": a file path is empty");
    const bool drawn = o.command == "dxf" || o.command == "svg" || o.command == "pdf" || o.command == "hpgl" ||
                       o.command == "batch";
    const bool drawing = drawn || o.command == "check";
    // A centreline's capture is placed as its drawings are.
    if (!cadGiven.empty() && !drawing && !(o.centreline && o.command == "capture"))
        throw UsageError(cadGiven + " applies to svg, dxf, pdf and hpgl only");
    if (!o.formatOptions.empty() && !drawn)
        throw UsageError(o.formatOptions.front().first + " applies to " + o.formatOptions.front().second + " only");
    if (toolGiven && o.command != "check")
        throw UsageError("--tool applies to check only (svg, dxf and batch take --check MM)");
    if (checkGiven && !drawn)
        throw UsageError(o.command == "check" ? "check takes the tool as --tool MM"
                                              : "--check applies to svg, dxf, pdf, hpgl and batch only");
    if (o.command == "check")
        o.checkAsked = true;
    if (!o.reportPath.empty() && !o.checkAsked)
        throw UsageError("--report writes a tool check's report: give --check MM (or run check)");
    if (!o.reportPath.empty() && o.command == "batch")
        throw UsageError("--report: batch checks many drawings; give each row's check on standard error instead");
    if (o.reportPath == "-" && o.command != "check")
        throw UsageError("--report -: only check writes its report to standard output");
    if (bridgesGiven && o.stencilMm <= 0)
        throw UsageError("--stencil-bridges needs --stencil MM");
    if (o.stencilMm > 0 && !o.merge)
        throw UsageError("--stencil merges the drawing; --no-merge does not apply");
    if (o.centre && (o.anchor != Anchor::BaselineLeft || o.mirror != Mirror::None))
        throw UsageError("--anchor and --mirror place the text by its own box; --centre does not apply");
    if (encodingGiven && o.command != "batch")
        throw UsageError("--encoding applies to batch only (the list's encoding)");
    if (anchorGiven && o.style.arc.isArc())
        o.style.arc = anchoredArc(o.style.arc, o.anchor);
    if (!o.style.arc.isArc() && (o.style.arc.atDegrees || o.style.arc.fitDegrees))
        throw UsageError(std::string(o.style.arc.atDegrees ? "--arc-at" : "--fit-arc") +
                         " places the text on a circle; give its radius with --arc");
    if (o.style.arc.isArc() && o.angle != 0)
        throw UsageError("--arc turns each character onto the circle; --angle does not apply (turn the text "
                         "with --arc-at)");
    // Each character stands on its own on the circle, at its kerned advance;
    // a feature may join or move characters across that.
    if (o.style.arc.isArc() && !o.style.shaping.features.empty())
        throw UsageError("--features with --arc: each character stands on its own on the circle, so ligatures "
                         "and contextual forms cannot join (--kerning applies)");
    if (o.style.arc.fitDegrees && o.style.spacing != 0)
        throw UsageError("--fit-arc and --spacing both set the spacing; give one");
    if (o.style.arc.fitDegrees && o.style.fitMm > 0)
        throw UsageError("--fit-arc and --fit both set the spacing; give one");
    if (!unitsGiven.empty() && o.command != "capture")
        throw UsageError("--units applies to capture only");
    if (o.millimetres && o.centre)
        throw UsageError("--units mm measures from the baseline of the capture at the origin; --centre does not apply");
    if (o.classic) {
        o.precisionMm.reset();
        if (dpiGiven)
            throw UsageError("--precision and --dpi both set the resolution; give one");
    }
    if (!fitBy.empty() && o.style.fitMm == 0)
        throw UsageError("--fit-by says how --fit fits; give --fit LEN too");
    if (o.style.fitMm > 0 && spacingGiven)
        throw UsageError("--fit sets the spacing itself; --spacing does not apply");
    if (o.style.fitMm > 0 && o.style.fitBy == TextStyle::FitBy::Width && widthGiven)
        throw UsageError("--fit-by width sets the width itself; --width does not apply");
    if (sizeOf == "cap")
        o.font.size = emForCapHeight(o, o.font.size);
    // A drawing for CAD is fine unless the user asks for another grid.
    if ((drawing || o.centreline) && !o.precisionMm && !o.classic && !dpiGiven)
        o.precisionMm = kCadStepMm;
    // A stroke font draws no outline: the outline's estimate bounds nothing
    // there, and the precision is only the grid an offset works on.
    if (!o.strokeFont.empty()) {
        if (o.precisionMm && dpiGiven)
            throw UsageError("--precision and --dpi both set the resolution; give one");
        if (o.precisionMm && !(*o.precisionMm >= kFinestStepMm && *o.precisionMm <= kCoarsestStepMm))
            throw UsageError("--precision: " + precisionRefusal({.refusal = PrecisionOutcome::Refusal::OutOfRange},
                                                                *o.precisionMm, {}));
        if (o.precisionMm)
            o.dpi = dpiForStep(*o.precisionMm);
        return o;
    }
    GlyphPointCounts counts(o.text, o.font, o.angle, o.style);
    if (o.precisionMm) {
        if (dpiGiven)
            throw UsageError("--precision and --dpi both set the resolution; give one");
        if (o.command == "wit")
            throw UsageError("wit writes the preview's pixels; --precision does not apply");
        const PrecisionOutcome outcome = dpiForPrecision(*o.precisionMm, [&](double dpi) {
            return measuredEstimate(counts, o, dpi);
        }, kMaxOutlinePoints);
        if (outcome.refusal != PrecisionOutcome::Refusal::None)
            throw UsageError("--precision: " + precisionRefusal(outcome, *o.precisionMm, withOffset(o)));
        o.dpi = dpiForWholeEm(outcome.dpi, o.font.size);
        o.advances = Advances::Linear;
    }
    checkWork(o, counts);
    return o;
}

std::string controlCharacterIn(std::string_view text)
{
    std::size_t character = 0;
    for (const unsigned char c : text) {
        if (!isUtf8Continuation(c))
            ++character;
        if (c >= 0x20 && c != 0x7F)
            continue;
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", c);
        const std::string what = c == '\n'   ? "a line feed"
                                 : c == '\r' ? "a carriage return"
                                 : c == '\t' ? "a tab"
                                              : std::string("control character ") + code;
        return what + " at character " + std::to_string(character);
    }
    return {};
}

} // namespace lw::cli
