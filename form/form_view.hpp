#pragma once
// What Form1's logic asks of a window toolkit: its controls' texts and
// positions, the preview's device context, the font dialog, the message box
// and ending the program. The Qt window and the native Windows window each
// implement it as a thin view; tests implement it with plain fields.
//
// Contract every view keeps:
// - setText and setPosition run no handler of the program (a view silences
//   its own change notice while it writes). Form1 runs the box's change
//   handler itself right after it writes the text, also when the text stays
//   the same, so a failure never unwinds through the toolkit's own code (a
//   signal, a window procedure) on its way to the guard.
// - A user's action on a control calls the matching Form1 handler; every
//   handler call goes through Form1::run, which holds the failure guard.

#include "export/face_note.hpp"
#include "export/output_choices.hpp"
#include "export/save_format.hpp"
#include "form/window_note.hpp"
#include "outline/anchor.hpp"
#include "outline/open_lines.hpp"
#include "outline/text_style.hpp"
#include "outline/window_font.hpp"
#include "platform/device_context.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace lw {

enum class TextBox { txtInput, txtSize, txtAngle };
enum class Slider { sldSize, sldAngle };

// The largest step of the point grid at 1:1: the classic screen pixel
// (25.4 / 96 mm), 0.1 mm or 0.01 mm. A save is fine by default: CAD
// programs take the letters as they are, and the classic grid makes an "O"
// a lumpy polygon.
enum class SavePrecision { Classic, Tenth, Hundredth };

// How a DXF or SVG save makes its figures cut-ready and places them; the
// defaults write what a save always wrote. JW point lines ignore them.
struct CadChoices {
    bool merge = true;
    double offsetMm = 0; // outer contours outward, holes inward
    Anchor anchor = Anchor::BaselineLeft;
    Mirror mirror = Mirror::None;
    bool curves = false; // the font's arcs and Béziers, not short segments
    // A stencil: every island held to the sheet by bridges this wide
    // (millimetres; 0: none), this many to an island. It merges the drawing.
    double stencilMm = 0;
    int stencilBridges = 1;
    // The pen that draws a stroke face's open lines (SVG and PDF), mm.
    double penMm = kDefaultPenMm;
    // The outline face's centreline as open lines instead of its outline.
    bool centreline = false;
    bool operator==(const CadChoices&) const = default;
};

// The save dialog's answer. As a preset, `path` is the folder the dialog
// opens in joined with the file name it suggests.
struct SaveChoice {
    SaveFormat format = SaveFormat::Dxf;
    SavePrecision precision = SavePrecision::Hundredth;
    std::string path; // UTF-8
    CadChoices cad;
    OutputChoices output{};
    bool operator==(const SaveChoice&) const = default;
};

// What is remembered between runs of the window on its own.
struct SaveSettings {
    SaveFormat format = SaveFormat::Dxf;
    SavePrecision precision = SavePrecision::Hundredth;
    std::string folder; // UTF-8; empty: the view's own choice
    CadChoices cad;
    OutputChoices output{};
    bool operator==(const SaveSettings&) const = default;
};

class FormView {
public:
    virtual ~FormView() = default;

    // Text boxes, UTF-8.
    virtual std::string text(TextBox box) const = 0;
    virtual void setText(TextBox box, std::string_view text) = 0;
    virtual void selectAll(TextBox box) = 0;
    // txtInput shows the text in the window font.
    virtual void setInputFont(const WindowFont& font) = 0;

    // Sliders: integer positions within their design ranges.
    virtual int position(Slider slider) const = 0;
    virtual void setPosition(Slider slider, int position) = 0;
    virtual int minimum(Slider slider) const = 0;
    virtual int maximum(Slider slider) const = 0;

    // The preview picSmpl: its device context, its drawing area in pixels
    // (scale width and height), and showing what was drawn on it.
    virtual DeviceContext& previewDC() = 0;
    virtual float previewScaleWidth() const = 0;
    virtual float previewScaleHeight() const = 0;
    virtual void refresh() = 0;
    // The part of the preview's device context the preview shows, in its
    // pixels, when it shows no more than that; none when it shows all of
    // the drawing (fitted) or cannot tell. A capture for the preview then
    // needs only the glyphs that meet it.
    virtual std::optional<DeviceArea> previewShownArea() const { return std::nullopt; }

    // The window's own client area in pixels (the WIT export's extent), the
    // screen's twips per pixel in x (one value for every reader), and the
    // program's folder (no trailing separator but at a root).
    virtual float clientWidth() const = 0;
    virtual float clientHeight() const = 0;
    virtual double twipsPerPixelX() const = 0;
    virtual std::string programDirectory() const = 0;

    // The font dialog, modal, preset with `preset`: the choice, or `preset`
    // unchanged when the user cancels.
    virtual WindowFont chooseFont(const WindowFont& preset) = 0;
    // The save dialog, modal, preset with `preset`: the file, format and
    // precision chosen, or nothing when the user cancels. A view without one
    // offers no save, so OK without a run mode does nothing there.
    virtual std::optional<SaveChoice> chooseSaveFile(const SaveChoice& preset)
    {
        (void)preset;
        return std::nullopt;
    }
    // The text style dialog, modal, preset with `preset` and told whether
    // the window font is bold (for its note): the style chosen, or nothing
    // when the user cancels. A view without one offers none.
    virtual bool hasTextStyleDialog() const { return false; }
    virtual std::optional<TextStyle> chooseTextStyle(const TextStyle& preset, bool fontBold)
    {
        (void)preset;
        (void)fontBold;
        return std::nullopt;
    }
    // The tool check's question, modal, preset with `presetMm`: a width in
    // millimetres within (0, kToolLimitMm], or nothing when the user
    // cancels. A view without one offers no tool check.
    virtual bool hasToolSizeDialog() const { return false; }
    virtual std::optional<double> chooseToolSize(double presetMm)
    {
        (void)presetMm;
        return std::nullopt;
    }
    // The save settings of an earlier run, if the view keeps any; asked only
    // when the window runs on its own, never in a run mode.
    virtual std::optional<SaveSettings> loadSaveSettings() { return std::nullopt; }
    virtual void storeSaveSettings(const SaveSettings& settings) { (void)settings; }
    // The remembered face, size, angle and styles (text_settings.hpp), as
    // named text values in the same store as the save dialog's choice;
    // nothing where none are stored.
    virtual std::optional<std::string> readTextSetting(std::string_view name) { (void)name; return std::nullopt; }
    virtual void writeTextSetting(std::string_view name, std::string_view value) { (void)name, (void)value; }
    // A quiet note under the text box, never a box that waits for OK: why
    // the face that draws is not the face chosen, or nothing to clear it.
    // The view words it in the user's language (faceNoteCaption).
    virtual void showFaceNote(const std::optional<FaceNote>& note) { (void)note; }
    // The quiet line under the preview (window_note.hpp); an empty note
    // hides it. The view words it in the user's language (windowNoteFor).
    virtual void showWindowNote(const WindowNote& note) { (void)note; }
    // A modal message box: one OK button, no icon.
    virtual void showMessage(std::string_view caption, std::string_view text) = 0;
    // Ends the process at once: no further handler runs. (A test's view
    // records the status and returns.)
    virtual void endProgram(int status) = 0;
};

} // namespace lw
