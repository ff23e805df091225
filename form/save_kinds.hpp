#pragma once
// What OK saves when the window runs on its own, as data for both views:
// the formats and precisions the save dialog offers with their captions,
// the neutral words a choice is remembered by, and the rules a dialog's
// answer goes through.
//
//   formatForPath("/x/a.svg", SaveFormat::Dxf);   // Svg: the typed extension wins
//   decodeSaveSettings(read);                     // from "format", "precision", "folder"

#include "form/captions.hpp"
#include "form/form_view.hpp"
#include "outline/text_output.hpp"
#include "outline/option_limits.hpp"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lw {

struct SaveFormatDesign {
    SaveFormat format;
    const char* word;      // remembered as; the same on every platform
    const char* extension; // without the dot
    const char* caption;   // the file type's name (captions.hpp)
};

struct SavePrecisionDesign {
    SavePrecision precision;
    const char* word;
    double stepMm;         // the largest step of the point grid at 1:1
    const char* caption;
};

struct SaveAnchorDesign {
    Anchor anchor;
    const char* caption;
};

struct SaveMirrorDesign {
    Mirror mirror;
    const char* caption;
};

// The choices of one format, each a short list (a box to pick from on
// every platform, nothing typed), remembered by its word.
struct SaveDxfVersionDesign {
    DxfVersion version;
    const char* word;
    const char* caption;
};

struct SavePdfPageDesign {
    const char* word;
    std::optional<MmSize> size; // none: the drawing's extents
    const char* caption;
};

struct SavePdfPaintDesign {
    PdfPaint paint;
    const char* word;
    const char* caption;
};

// In the order the dialog lists them.
std::span<const SaveFormatDesign> saveFormats();
std::span<const SaveDxfVersionDesign> saveDxfVersions();
std::span<const SavePdfPageDesign> savePdfPages();
std::span<const SavePdfPaintDesign> savePdfPaints();
// Millimetres; a box shows each as "5 mm".
std::span<const double> savePdfMargins();
std::span<const double> saveHpglOvercuts();
// The stencil's bridge widths in millimetres (0 first: no stencil, shown
// as kStencilNone) and the bridges to an island, as the front end's
// --stencil and --stencil-bridges take them.
std::span<const double> saveStencilWidths();
std::span<const int> saveStencilBridgeCounts();
// The pen widths a stroke face's lines are drawn with, in millimetres, as
// the front end's --pen-width takes them (0.1 its default).
std::span<const double> savePenWidths();
std::span<const SavePrecisionDesign> savePrecisions();
std::span<const SaveAnchorDesign> saveAnchors();
std::span<const SaveMirrorDesign> saveMirrors();
const SaveFormatDesign& saveFormatDesign(SaveFormat format);
const SavePrecisionDesign& savePrecisionDesign(SavePrecision precision);

// The save dialog's title and the caption of its precision box.
inline constexpr const char* kSaveDialogTitle = "アウトラインの保存";
inline constexpr const char* kPrecisionCaption = "精度:";
// The captions of the DXF and SVG choices.
inline constexpr const char* kMergeCaption = "重なりを結合";
inline constexpr const char* kOffsetCaption = "オフセット (mm):";
inline constexpr const char* kAnchorCaption = "基準点:";
inline constexpr const char* kMirrorCaption = "反転:";
inline constexpr const char* kCurvesCaption = "正確な曲線";
// The captions of the DXF's, the PDF's and the HPGL's own choices.
inline constexpr const char* kDxfVersionCaption = "DXF:";
inline constexpr const char* kDxfTextCaption = "文字列を TEXT で残す";
inline constexpr const char* kPdfPageCaption = "用紙:";
inline constexpr const char* kPdfPaintCaption = "PDF:";
inline constexpr const char* kPdfMarginCaption = "余白:";
inline constexpr const char* kHpglOvercutCaption = "オーバーカット:";
// The stencil's choices: the bridges' width, and how many to an island.
inline constexpr const char* kStencilCaption = "ステンシルのブリッジ:";
inline constexpr const char* kStencilBridgesCaption = "島ごとのブリッジ:";
inline constexpr const char* kStencilNone = "なし";
inline constexpr const char* kPenWidthCaption = "ペンの幅 (単線):";
inline constexpr const char* kCentrelineCaption = "中心線 (単線)";
// The offset the dialog takes, either way: as far as the front end's.
inline constexpr double kSaveOffsetLimitMm = optionLimit(LimitedOption::Offset).highest;
static_assert(-optionLimit(LimitedOption::Offset).lowest == kSaveOffsetLimitMm && kSaveOffsetLimitMm == 100,
              "kOffsetRefused names the limit");
// An offset as typed in a dialog's box: millimetres with a decimal point,
// blanks around allowed; nothing for text that is no number in the limit.
std::optional<double> typedSaveOffset(std::string_view text);
inline constexpr const char* kOffsetRefused = "オフセットは -100 から 100 までの mm の数で入力してください";
// Whether the DXF and SVG choices apply to `format`.
bool takesCadChoices(SaveFormat format);
// "5 mm": a margin's or an overcut's entry in its box.
std::string millimetreEntry(double mm);

// The device resolution of a capture at `precision` for a size in points:
// 96 dpi for the classic grid; at 0.1 or 0.01 mm 254 or 2540 dpi, raised a
// hair where needed so that the size is a whole number of pixels.
double saveDpi(SavePrecision precision, float sizePoints);

// How a saved capture places its letters: the designed capture on the
// classic grid, the font's unrounded advances at a chosen step.
Advances saveAdvances(SavePrecision precision);

// The file name the save dialog suggests for `text`: the text without the
// characters a file name may not hold, at most 32 characters, with the
// format's extension (.dxf, .svg, .txt); "Letterwire" when nothing is left.
std::string saveFileName(std::string_view text, SaveFormat format);

// The format a file is written in: the one its name's extension names
// (.dxf, .svg, .txt, in any case), else the one chosen in the dialog. So a
// name typed as "a.svg" is an SVG whatever file type is selected.
SaveFormat formatForPath(std::string_view path, SaveFormat chosen);

// The name a save dialog writes: `path` as typed when its extension is one
// of the formats' (which then decides the format), else with the chosen
// format's extension added, also where the name holds a dot of its own:
// "0.1" saved as DXF is "0.1.dxf", not a file named "0.1".
std::string withFormatExtension(std::string_view path, SaveFormat chosen);

// A file type that carries a format and a precision at once, for a dialog
// that offers no more than file types: "DXF drawing, 0.01 mm (*.dxf)".
std::string saveKindLabel(SaveFormat format, SavePrecision precision, Language language);

// The remembered choice as named text values, the same names and words on
// every platform: "format" (dxf, svg, jw), "precision" (classic, 0.1, 0.01),
// "folder" (UTF-8), "merge" (1, 0), "offset" (millimetres), "anchor" and
// "mirror" (the front end's words), "curves" (1, 0), "dxf-version" (2000,
// r12), "dxf-text" (1, 0), "pdf-page" (fit, a4, a3), "pdf-style" (fill,
// cut), "pdf-margin" and "hpgl-overcut" (millimetres, one of the lists'),
// "stencil" (millimetres, 0: none), "stencil-bridges" (1 to 4) and
// "pen-width" (millimetres, one of the list's), "centreline" (1, 0).
using WriteSetting = std::function<void(std::string_view name, std::string_view value)>;
void encodeSaveSettings(const SaveSettings& settings, const WriteSetting& write);

// Back from the stored values; `read` gives nothing for a name not stored.
// Nothing stored at all: nothing remembered. An old Windows label under
// "kind" counts where no word of ours says otherwise; a word none of ours
// (a hand-edited store) changes nothing; so does an offset that is no
// number or beyond the limit.
using ReadSetting = std::function<std::optional<std::string>(std::string_view name)>;
std::optional<SaveSettings> decodeSaveSettings(const ReadSetting& read);

} // namespace lw
