#pragma once
// Form1: the one window's logic, with no toolkit. Holds the window font, the
// run mode with its paths, the captured outline and the font dialog's
// values; keeps the text, size and angle boxes and sliders in step through
// the view; captures and redraws; runs the exports and ends the program.
//
//   QtForm1View view;               // or Win32Form1View, or a test's fake
//   lw::Form1 form(view);
//   form.load({"JW", "cmd.txt", "out.txt"});
//   // the user edits txtSize: the view calls form.run(&lw::Form1::txtSize_Change)

#include "cut/cut.hpp"
#include "form/box_values.hpp"
#include "form/form_design.hpp"
#include "form/form_view.hpp"
#include "form/save_kinds.hpp"
#include "form/text_settings.hpp"
#include "form/tool_marks.hpp"
#include "outline/captured_outline.hpp"
#include "outline/stroke_font_cache.hpp"
#include "outline/text_output.hpp"
#include "outline/text_style.hpp"
#include "outline/window_font.hpp"
#include "platform/canvas.hpp"
#include "platform/device_context.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lw {

struct CaptureSource;

inline constexpr int kFailureExitStatus = 1;
// The program's title: the caption of its message boxes.
inline constexpr const char* kProgramTitle = "Letterwire";
// What JW and WIT modes say of a stroke face chosen in the font dialog.
inline constexpr const char* kStrokeFaceRefused =
    "JW and WIT take the closed outline of an outline face; a stroke font's open lines have none. "
    "The face stays as it was.";
// The caption of the main window.
inline constexpr const char* kWindowCaption = "アウトラインフォント書きこみ";

class Form1 {
public:
    explicit Form1(FormView& view);

    // Window load, inside the failure guard: the run mode and paths from the
    // command line's words (after the program's name), the size box from
    // the window font, and the first preview.
    void load(const std::vector<std::string>& words);

    // The handlers, under the design's names. A view calls each through
    // run(), which holds the one failure guard of the event.
    void Form_Load(const std::vector<std::string>& words);
    void sldAngle_Click();
    void sldSize_Click();
    void txtAngle_Change();
    void txtSize_Change();
    void txtInput_Change();
    void txtInput_GotFocus();
    // An edit of the box ended (the focus left it, or Enter): the box and its
    // slider show the value the preview and the exports use.
    void txtSize_EditEnded();
    void txtAngle_EditEnded();
    void cmdDraw_Click();
    void cmdFont_Click();
    void Command2_Click();
    void Command3_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // The design's face, size, angle and styles, shown and remembered.
    void restoreDesignFont();

    // Runs `handler` inside the failure guard: a failure nothing caught is
    // shown (message box and standard error) and ends the program with
    // kFailureExitStatus.
    void run(void (Form1::*handler)());
    // The preview's context menu, in this order; the WIT export in mode WIT
    // only.
    std::vector<PreviewCommand> previewCommands() const;
    void run(PreviewCommand command);
    void guarded(const std::function<void()>& body);

    // The handlers a control's events run, as every view binds them; null
    // where the design has none. A text box's change and its edit's end
    // (Enter, or the focus leaving it), its gaining the focus, a click on
    // a button or a slider.
    struct Events {
        void (Form1::*change)() = nullptr;
        void (Form1::*editEnded)() = nullptr;
        void (Form1::*gotFocus)() = nullptr;
        void (Form1::*click)() = nullptr;
    };
    static Events eventsOf(Control control);

    // Captures the outline of the current text (centred when alCent != 0,
    // else at the origin), draws it and refreshes the preview. Where the
    // preview shows only part of its drawing, only the glyphs that meet that
    // part are captured; the whole outline follows when something reads it.
    // In the window's own mode the preview shows what OK saves: the capture
    // on the save's grid, scaled to the screen about the same point.
    void drawFlattenPath(std::int32_t alCent);
    // The preview now shows a different part of its drawing (fitted or
    // not): a drawing limited to the part it showed is captured again.
    void previewAreaChanged();
    // Carries the font dialog's choice over to the window font and txtInput;
    // the one place that catches a failure and goes on.
    void applyFont();
    void JwOut();
    void WitOut();
    // OK without a run mode: the save dialog, then the outline captured at
    // the origin at the chosen precision and written in the format the
    // name's extension says (else the chosen one); the window stays. A
    // file that cannot be written is reported and changes nothing else.
    void saveOutline();

    const std::string& runMode() const { return runMode_; }
    const std::string& inputPath() const { return inputPath_; }
    const std::string& outputPath() const { return outputPath_; }
    const WindowFont& windowFont() const { return font_; }
    const TextStyle& textStyle() const { return style_; }
    // The text style dialog; a style chosen redraws the preview.
    void chooseTextStyle();
    // Asks for a tool's width, measures the drawing a save would write
    // against it (the save dialog's precision and cut-ready choices) and
    // marks on the preview every place narrower than the tool and every
    // island. The next drawing of the preview clears the marks.
    void checkForTool();
    // The last check's report and marks, until the preview is drawn again.
    const std::optional<ToolReport>& toolReport() const { return toolReport_; }
    const std::vector<ToolMark>& toolMarks() const { return toolMarks_; }
    // The whole outline of the last capture at the screen's grid, as JW and
    // WIT receive it (captured first where the preview's capture left
    // glyphs out or drew on the save's grid).
    const CapturedOutline& capturedOutline() const;
    // Why the face that drew the last capture is not the one chosen, if so.
    const std::optional<FaceNote>& faceNote() const { return faceNote_; }
    // Captures completed by drawFlattenPath since the form was made.
    int redrawCount() const { return redrawCount_; }

private:
    // Writes a box's text, then runs its change handler, also when the text
    // stays the same, as the design's toolkit does.
    void writeText(TextBox box, const std::string& text, void (Form1::*change)());
    CaptureSource captureSource(const std::string& text) const;
    // drawFlattenPath, limited to `shown` where there is one.
    void capture(std::int32_t alCent, std::optional<DeviceArea> shown);
    // The precision whose grid the preview shows: the save's in the
    // window's own mode where it differs from the screen's, else none.
    std::optional<SavePrecision> previewGrid() const;
    // Captures `source` on the grid of `precision` and draws it on the
    // preview scaled to the screen; false, drawing nothing, where that
    // grid cannot hold the text.
    // The arc's circle on the preview as a thin guide, never in the outline.
    void drawArcGuide(const CaptureSource& source, std::int32_t alCent);
    bool drawOnSaveGrid(const CaptureSource& source, std::int32_t alCent, std::optional<DeviceArea> shown,
                        SavePrecision precision);
    // With a stroke face: the text as open lines on the preview, centred.
    void drawStrokes();
    // Whether the window's own saves write the centreline, so the preview
    // shows it.
    bool centrelineChosen() const;
    // The centreline on the preview, on the save's grid; false, drawing
    // nothing, where that grid cannot hold the text.
    bool drawCentreline();
    // Where millimetres of a capture centred on the design preview, at
    // `dpi`, fall on the preview.
    MarkFrame previewFrame(double dpi) const;
    // With a stroke face: the save of `choice` as the front end's
    // --stroke-font writes it; a choice it refuses is told, nothing written.
    void saveStrokes(const SaveChoice& choice, const std::string& text);
    // Captures whole what the preview's capture left out, off the preview.
    void completeOutline() const;
    // Rewrites the size box and slider with the window font's size; runs
    // no handler, since the value stays the same.
    void showSize();
    // Puts remembered (or design) settings into the window font, the input
    // box's font and the angle; the caller shows the size and redraws.
    void showTextSettings(const TextSettings& settings);
    // Tells the view why the face that drew `text` (in `drew`) is not the
    // one chosen, when that changed since the last capture.
    void showFaceNote(const std::string& text, const CapturedOutline& drew);
    // Stores what the last capture drew with, when it changed.
    void rememberTextSettings();
    // Tells the view the window note, when it changed.
    void showWindowNote();
    // The window font's bold and the text style's are one choice, shown in
    // the text box and drawn in the outline.
    void setBold(bool bold);
    // Shows `text` (message box and standard error), then ends the program.
    void reportUncaught(const char* text) noexcept;
    // Shows `text` (message box and standard error); the window stays.
    void tell(const std::string& text);
    // The WIT export from OK or Command2: a failure (the converter gone, the
    // work file not written) is told and the window stays with its text.
    void exportWit();
    // form1_arc_check.cpp: a text longer than its circle is round, which
    // the command line refuses, is told at a JW or WIT export and nothing
    // is written; the window stays with its text.
    bool arcTooLong();

    FormView& view_;
    WindowFont font_;
    TextStyle style_;
    // Mutable: a limited capture is completed when first read. The classic
    // capture at the screen's grid: what JW and WIT receive.
    mutable CapturedOutline outline_;
    // The preview's drawing, in the window's own mode, captured on the
    // save's grid (before it is scaled to the screen).
    CapturedOutline gridOutline_;
    NullCanvas gridCanvas_;
    DeviceContext gridDC_{gridCanvas_};
    // What the preview's drawing was made from when it is not simply the
    // whole classic capture: limited to the part shown, or on the save's grid.
    struct PreviewCapture {
        std::string text;
        WindowFont font;
        std::int32_t angle = 0;
        float scaleWidth = 0, scaleHeight = 0;
        double twipsPerPixelX = 0;
        TextStyle style;
        std::int32_t alCent = 1;
        std::optional<DeviceArea> shown;
        std::optional<SavePrecision> grid; // none: the screen's
        bool operator==(const PreviewCapture&) const = default;
    };
    std::optional<PreviewCapture> preview_;
    // outline_ is not yet the whole classic capture of preview_.
    mutable bool outlineOwed_ = false;
    std::string runMode_;
    std::string inputPath_;
    std::string outputPath_;
    // dlgCommon: the font dialog's values, kept between uses.
    struct {
        WindowFont font;
    } dlgCommon_;
    // The save dialog's format, folder and precision: read from the view at
    // the first save, kept for the next.
    std::optional<SaveSettings> saveSettings_;
    // What the store holds; none until the load has read it, so the load's
    // own first drawing stores nothing.
    std::optional<TextSettings> remembered_;
    int redrawCount_ = 0;
    bool reporting_ = false;
    // The note the view shows; none at first, as the view starts.
    std::optional<FaceNote> faceNote_;
    // The size as typed in millimetres, shown so; none while it is points.
    std::optional<double> sizeMm_;
    // The face, styles and characters it was found for (faceNoteKey).
    std::string faceNoteAsked_;
    // The note the view shows; empty at first, as the view starts.
    WindowNote windowNote_;
    // Where the last save wrote, until the text changes.
    std::string savedTo_;
    // What the JW export found to warn about, told before the program ends.
    std::string jwWarning_;
    // The tool check: the width last asked for, and what the preview marks.
    double toolMm_ = kDefaultToolMm;
    std::optional<ToolReport> toolReport_;
    std::vector<ToolMark> toolMarks_;
    // The buffers each save's cut-ready drawing borrows in turn.
    CutWorkspace cutWork_;
    // Stroke fonts read for the preview and the saves, kept between redraws.
    StrokeFontCache strokeFonts_;
};

} // namespace lw
