#include "form/save_kinds.hpp"

#include "base/numbers.hpp"
#include "base/utf8.hpp"
#include "form/captions.hpp"
#include "outline/precision.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lw {
namespace {

constexpr SaveFormatDesign kFormats[] = {
    {SaveFormat::Dxf, "dxf", "dxf", "DXF 図面"},
    {SaveFormat::Svg, "svg", "svg", "SVG 画像"},
    {SaveFormat::JwPoints, "jw", "txt", "JW 座標の行"},
    {SaveFormat::Pdf, "pdf", "pdf", "PDF 図面"},
    {SaveFormat::Hpgl, "hpgl", "plt", "HPGL (プロッタ)"},
};

constexpr SaveDxfVersionDesign kDxfVersions[] = {
    {DxfVersion::R2000, "2000", "AutoCAD 2000"},
    {DxfVersion::R12, "r12", "R12 (古いカッター用)"},
};

const SavePdfPageDesign kPdfPages[] = {
    {"fit", std::nullopt, "図形に合わせる"},
    {"a4", MmSize{210, 297}, "A4"},
    {"a3", MmSize{297, 420}, "A3"},
};

constexpr SavePdfPaintDesign kPdfPaints[] = {
    {PdfPaint::Fill, "fill", "塗りつぶし"},
    {PdfPaint::Cut, "cut", "カット線 (赤の細線)"},
};

constexpr double kPdfMargins[] = {0, 5, 10, 20};
constexpr double kHpglOvercuts[] = {0, 0.25, 0.5, 1};
constexpr double kStencilWidths[] = {0, 0.2, 0.3, 0.5, 0.8, 1, 1.5, 2};
constexpr int kStencilBridgeCounts[] = {1, 2, 3, 4};
constexpr double kPenWidths[] = {0.05, 0.1, 0.2, 0.3, 0.5, 1};

constexpr SavePrecisionDesign kPrecisions[] = {
    {SavePrecision::Classic, "classic", kClassicStepMm, "従来 (0.26 mm)"},
    {SavePrecision::Tenth, "0.1", 0.1, "0.1 mm"},
    {SavePrecision::Hundredth, "0.01", 0.01, "0.01 mm"},
};

constexpr SaveAnchorDesign kAnchors[] = {
    {Anchor::BaselineLeft, "ベースライン左"}, {Anchor::BaselineCentre, "ベースライン中央"},
    {Anchor::BaselineRight, "ベースライン右"}, {Anchor::TopLeft, "左上"},
    {Anchor::TopCentre, "上中央"},             {Anchor::TopRight, "右上"},
    {Anchor::MiddleLeft, "左中央"},            {Anchor::Centre, "中央"},
    {Anchor::MiddleRight, "右中央"},           {Anchor::BottomLeft, "左下"},
    {Anchor::BottomCentre, "下中央"},          {Anchor::BottomRight, "右下"},
};

constexpr SaveMirrorDesign kMirrors[] = {
    {Mirror::None, "なし"},
    {Mirror::X, "左右 (x)"},
    {Mirror::Y, "上下 (y)"},
};

// What the Windows window stored before the neutral words: its file type's
// label, English whatever the user's language.
struct OldWindowsLabel {
    SaveFormat format;
    SavePrecision precision;
    const char* label;
};
constexpr OldWindowsLabel kOldWindowsLabels[] = {
    {SaveFormat::Dxf, SavePrecision::Classic, "DXF, screen pixel grid (*.dxf)"},
    {SaveFormat::Dxf, SavePrecision::Tenth, "DXF, 0.1 mm grid (*.dxf)"},
    {SaveFormat::Dxf, SavePrecision::Hundredth, "DXF, 0.01 mm grid (*.dxf)"},
    {SaveFormat::Svg, SavePrecision::Classic, "SVG, screen pixel grid (*.svg)"},
    {SaveFormat::Svg, SavePrecision::Tenth, "SVG, 0.1 mm grid (*.svg)"},
    {SaveFormat::Svg, SavePrecision::Hundredth, "SVG, 0.01 mm grid (*.svg)"},
    {SaveFormat::JwPoints, SavePrecision::Classic, "JW point lines, screen pixel grid (*.txt)"},
    {SaveFormat::JwPoints, SavePrecision::Tenth, "JW point lines, 0.1 mm grid (*.txt)"},
    {SaveFormat::JwPoints, SavePrecision::Hundredth, "JW point lines, 0.01 mm grid (*.txt)"},
};

constexpr std::string_view kFormatName = "format", kPrecisionName = "precision", kFolderName = "folder";
constexpr std::string_view kOldKindName = "kind";
constexpr std::string_view kMergeName = "merge", kOffsetName = "offset", kAnchorName = "anchor",
                           kMirrorName = "mirror", kCurvesName = "curves";
constexpr std::string_view kDxfVersionName = "dxf-version", kDxfTextName = "dxf-text", kPdfPageName = "pdf-page",
                           kPdfStyleName = "pdf-style", kPdfMarginName = "pdf-margin",
                           kHpglOvercutName = "hpgl-overcut";
constexpr std::string_view kStencilName = "stencil", kStencilBridgesName = "stencil-bridges";
constexpr std::string_view kPenWidthName = "pen-width", kCentrelineName = "centreline";

std::optional<double> offsetIn(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !(std::fabs(value) <= kSaveOffsetLimitMm))
        return std::nullopt;
    return value;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lower(x) == lower(y);
           });
}

} // namespace

std::span<const SaveFormatDesign> saveFormats() { return kFormats; }
std::span<const SaveDxfVersionDesign> saveDxfVersions() { return kDxfVersions; }
std::span<const SavePdfPageDesign> savePdfPages() { return kPdfPages; }
std::span<const SavePdfPaintDesign> savePdfPaints() { return kPdfPaints; }
std::span<const double> savePdfMargins() { return kPdfMargins; }
std::span<const double> saveHpglOvercuts() { return kHpglOvercuts; }
std::span<const double> saveStencilWidths() { return kStencilWidths; }
std::span<const int> saveStencilBridgeCounts() { return kStencilBridgeCounts; }
std::span<const double> savePenWidths() { return kPenWidths; }

std::string millimetreEntry(double mm) { return shortest(mm) + " mm"; }
std::span<const SavePrecisionDesign> savePrecisions() { return kPrecisions; }
std::span<const SaveAnchorDesign> saveAnchors() { return kAnchors; }
std::span<const SaveMirrorDesign> saveMirrors() { return kMirrors; }

std::optional<double> typedSaveOffset(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    // from_chars takes no plus sign; a person may type one.
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    return offsetIn(text);
}

bool takesCadChoices(SaveFormat format) { return format != SaveFormat::JwPoints; }

const SaveFormatDesign& saveFormatDesign(SaveFormat format)
{
    for (const SaveFormatDesign& f : kFormats)
        if (f.format == format)
            return f;
    return kFormats[0];
}

const SavePrecisionDesign& savePrecisionDesign(SavePrecision precision)
{
    for (const SavePrecisionDesign& p : kPrecisions)
        if (p.precision == precision)
            return p;
    return kPrecisions[0];
}

double saveDpi(SavePrecision precision, float sizePoints)
{
    const double dpi = dpiForStep(savePrecisionDesign(precision).stepMm);
    return precision == SavePrecision::Classic ? dpi : dpiForWholeEm(dpi, sizePoints);
}

Advances saveAdvances(SavePrecision precision)
{
    return precision == SavePrecision::Classic ? Advances::Device : Advances::Linear;
}

std::string saveFileName(std::string_view text, SaveFormat format)
{
    constexpr std::string_view forbidden = "<>:\"/\\|?*";
    std::string name;
    int characters = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isUtf8Continuation(byte) && ++characters > 32)
            break;
        name += byte < 0x20 || byte == 0x7F || forbidden.find(c) != std::string_view::npos ? '_' : c;
    }
    // Blanks and dots at either end make names that vanish or hide.
    const std::size_t first = name.find_first_not_of(" .");
    name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(" .") - first + 1);
    if (name.empty())
        name = "Letterwire";
    return name + "." + saveFormatDesign(format).extension;
}

std::string saveKindLabel(SaveFormat format, SavePrecision precision, Language language)
{
    const SaveFormatDesign& f = saveFormatDesign(format);
    return std::string(caption(f.caption, language)) + ", " +
           caption(savePrecisionDesign(precision).caption, language) + " (*." + f.extension + ")";
}

SaveFormat formatForPath(std::string_view path, SaveFormat chosen)
{
    const std::size_t name = path.find_last_of("/\\");
    const std::string_view file = name == std::string_view::npos ? path : path.substr(name + 1);
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos)
        return chosen;
    for (const SaveFormatDesign& f : kFormats)
        if (sameIgnoringCase(file.substr(dot + 1), f.extension))
            return f.format;
    // Plotter files go by either name.
    if (sameIgnoringCase(file.substr(dot + 1), "hpgl"))
        return SaveFormat::Hpgl;
    return chosen;
}

std::string withFormatExtension(std::string_view path, SaveFormat chosen)
{
    const std::size_t name = path.find_last_of("/\\");
    const std::string_view file = name == std::string_view::npos ? path : path.substr(name + 1);
    if (file.empty())
        return std::string(path);
    if (const std::size_t dot = file.rfind('.'); dot != std::string_view::npos)
        for (const SaveFormatDesign& f : kFormats)
            if (sameIgnoringCase(file.substr(dot + 1), f.extension))
                return std::string(path);
    const std::string extension = saveFormatDesign(chosen).extension;
    return std::string(path) + (file.back() == '.' ? extension : "." + extension);
}

void encodeSaveSettings(const SaveSettings& settings, const WriteSetting& write)
{
    write(kFormatName, saveFormatDesign(settings.format).word);
    write(kPrecisionName, savePrecisionDesign(settings.precision).word);
    write(kFolderName, settings.folder);
    write(kMergeName, settings.cad.merge ? "1" : "0");
    write(kOffsetName, shortest(settings.cad.offsetMm));
    write(kAnchorName, anchorWord(settings.cad.anchor));
    write(kMirrorName, kMirrorWords[std::size_t(settings.cad.mirror)]);
    write(kCurvesName, settings.cad.curves ? "1" : "0");
    const OutputChoices& output = settings.output;
    for (const SaveDxfVersionDesign& v : kDxfVersions)
        if (v.version == output.dxfVersion)
            write(kDxfVersionName, v.word);
    write(kDxfTextName, output.dxfText ? "1" : "0");
    for (const SavePdfPageDesign& p : kPdfPages)
        if (p.size == output.pdf.page)
            write(kPdfPageName, p.word);
    for (const SavePdfPaintDesign& p : kPdfPaints)
        if (p.paint == output.pdf.paint)
            write(kPdfStyleName, p.word);
    write(kPdfMarginName, shortest(output.pdf.marginMm));
    write(kHpglOvercutName, shortest(output.hpgl.overcutMm));
    write(kStencilName, shortest(settings.cad.stencilMm));
    write(kStencilBridgesName, std::to_string(settings.cad.stencilBridges));
    write(kPenWidthName, shortest(settings.cad.penMm));
    write(kCentrelineName, settings.cad.centreline ? "1" : "0");
}

std::optional<SaveSettings> decodeSaveSettings(const ReadSetting& read)
{
    const std::optional<std::string> format = read(kFormatName), precision = read(kPrecisionName),
                                     folder = read(kFolderName), oldKind = read(kOldKindName);
    if (!format && !precision && !folder && !oldKind)
        return std::nullopt;
    SaveSettings settings;
    if (oldKind)
        for (const OldWindowsLabel& k : kOldWindowsLabels)
            if (*oldKind == k.label) {
                settings.format = k.format;
                settings.precision = k.precision;
            }
    if (format)
        for (const SaveFormatDesign& f : kFormats)
            if (*format == f.word)
                settings.format = f.format;
    if (precision)
        for (const SavePrecisionDesign& p : kPrecisions)
            if (*precision == p.word)
                settings.precision = p.precision;
    settings.folder = folder.value_or(std::string());
    const std::optional<std::string> merge = read(kMergeName), anchor = read(kAnchorName), mirror = read(kMirrorName);
    if (merge == "0" || merge == "1")
        settings.cad.merge = merge == "1";
    if (const std::optional<std::string> curves = read(kCurvesName); curves == "0" || curves == "1")
        settings.cad.curves = curves == "1";
    if (const std::optional<std::string> offset = read(kOffsetName))
        settings.cad.offsetMm = offsetIn(*offset).value_or(settings.cad.offsetMm);
    // Only the exact stored words: "center" is the command line's courtesy.
    if (anchor)
        for (const std::string_view word : kAnchorWords)
            if (*anchor == word)
                settings.cad.anchor = *anchorNamed(word);
    if (mirror)
        for (const std::string_view word : kMirrorWords)
            if (*mirror == word)
                settings.cad.mirror = *mirrorNamed(word);
    OutputChoices& output = settings.output;
    if (const std::optional<std::string> version = read(kDxfVersionName))
        for (const SaveDxfVersionDesign& v : kDxfVersions)
            if (*version == v.word)
                output.dxfVersion = v.version;
    if (const std::optional<std::string> text = read(kDxfTextName); text == "0" || text == "1")
        output.dxfText = text == "1";
    if (const std::optional<std::string> page = read(kPdfPageName))
        for (const SavePdfPageDesign& p : kPdfPages)
            if (*page == p.word)
                output.pdf.page = p.size;
    if (const std::optional<std::string> style = read(kPdfStyleName))
        for (const SavePdfPaintDesign& p : kPdfPaints)
            if (*style == p.word)
                output.pdf.paint = p.paint;
    // Only the lists' own values: a hand-edited number changes nothing.
    const auto listed = [&](std::string_view name, std::span<const double> values, double& into) {
        if (const std::optional<std::string> text = read(name))
            for (const double v : values)
                if (*text == shortest(v))
                    into = v;
    };
    listed(kPdfMarginName, kPdfMargins, output.pdf.marginMm);
    listed(kHpglOvercutName, kHpglOvercuts, output.hpgl.overcutMm);
    listed(kStencilName, kStencilWidths, settings.cad.stencilMm);
    listed(kPenWidthName, kPenWidths, settings.cad.penMm);
    if (const std::optional<std::string> centre = read(kCentrelineName); centre == "0" || centre == "1")
        settings.cad.centreline = centre == "1";
    if (const std::optional<std::string> bridges = read(kStencilBridgesName))
        for (const int n : kStencilBridgeCounts)
            if (*bridges == std::to_string(n))
                settings.cad.stencilBridges = n;
    return settings;
}

} // namespace lw
