#pragma once
// The window's design as data, read by both views: each control's name,
// kind, place in twips, caption or first text, font and tab order; the
// sliders' ranges and steps; the text box's colour; the preview's menu with
// its keys. A view loops over these tables and makes its toolkit's controls
// from them; nothing of the design is typed in a view.
//
//   for (const ControlDesign& c : kControls)        // in tab order
//       make(c.kind, c.name, caption(c.caption, language), c.place, c.fontPoints);

#include "form/form_view.hpp"
#include "base/design.hpp"
#include "platform/gdi_types.hpp"

namespace lw {

// The form's controls, in the design's tab order (tab index 0 first).
enum class Control {
    Command3, cmdDraw, txtInput, cmdFont, sldAngle, Command2, picSmpl,
    cmdOK, txtAngle, txtSize, sldSize, Label1, Label2, cmdCancel,
};
inline constexpr int kControlCount = 14;

enum class ControlKind { TextBox, Label, Button, Slider, Picture };

// A font size that stands for the window font (txtInput shows the text in it).
inline constexpr float kWindowFontPoints = -1;

struct ControlDesign {
    Control control;
    const char* name;
    ControlKind kind;
    const char* caption;    // the design's caption or first text (captions.hpp); "" for none
    design::TwipsRect place;
    float fontPoints;       // in the design's face; kWindowFontPoints; 0 for none (sliders)
    bool shown;             // false: lies over the preview, switched off, out of the tab order
};

// Every control, in tab order.
inline constexpr ControlDesign kControls[kControlCount] = {
    {Control::Command3, "Command3", ControlKind::Button, "Draw", {4920, 4920, 1095, 375}, 9, false},
    {Control::cmdDraw, "cmdDraw", ControlKind::Button, "Draw", {720, 4920, 1095, 375}, 9, false},
    {Control::txtInput, "txtInput", ControlKind::TextBox, design::kText, {120, 120, 7215, 855}, kWindowFontPoints,
     true},
    {Control::cmdFont, "cmdFont", ControlKind::Button, "フォント...", {5880, 1200, 1215, 375}, 9, true},
    {Control::sldAngle, "sldAngle", ControlKind::Slider, "", {3960, 1560, 1695, 255}, 0, true},
    {Control::Command2, "Command2", ControlKind::Button, "Wit", {3480, 4920, 1095, 375}, 9, false},
    {Control::picSmpl, "picSmpl", ControlKind::Picture, "", design::kPreviewTwips, 72, true},
    {Control::cmdOK, "cmdOK", ControlKind::Button, "OK", {1560, 6840, 1095, 375}, 9, true},
    {Control::txtAngle, "txtAngle", ControlKind::TextBox, "0", {4560, 1200, 495, 285}, 9.75f, true},
    {Control::txtSize, "txtSize", ControlKind::TextBox, "0", {1560, 1200, 495, 285}, 9.75f, true},
    {Control::sldSize, "sldSize", ControlKind::Slider, "", {960, 1560, 1695, 255}, 0, true},
    {Control::Label1, "Label1", ControlKind::Label, "サイズ", {240, 1200, 735, 255}, 9.75f, true},
    {Control::Label2, "Label2", ControlKind::Label, "傾き", {3360, 1200, 735, 255}, 9.75f, true},
    {Control::cmdCancel, "cmdCancel", ControlKind::Button, "キャンセル", {4080, 6840, 1095, 375}, 9, true},
};

constexpr const ControlDesign& controlDesign(Control control) { return kControls[int(control)]; }
constexpr Control controlOf(TextBox box)
{
    return box == TextBox::txtInput ? Control::txtInput : box == TextBox::txtSize ? Control::txtSize
                                                                                  : Control::txtAngle;
}
constexpr Control controlOf(Slider slider) { return slider == Slider::sldSize ? Control::sldSize : Control::sldAngle; }

// Whether Tab stops at the control: shown text boxes, buttons and sliders.
constexpr bool takesFocus(const ControlDesign& c)
{
    return c.shown && (c.kind == ControlKind::TextBox || c.kind == ControlKind::Button || c.kind == ControlKind::Slider);
}

struct SliderDesign {
    Slider slider;
    int minimum, maximum;
    int smallStep, largeStep;
    int tickEvery;          // 0: no tick marks; else below the track
    int position;           // in the design, before the load
};

inline constexpr SliderDesign kSliders[] = {
    {Slider::sldSize, 1, 144, 2, 10, 0, 1},
    {Slider::sldAngle, 0, 360, 10, 45, 45, 0},
};

constexpr const SliderDesign& sliderDesign(Slider slider) { return kSliders[slider == Slider::sldSize ? 0 : 1]; }

// txtInput's background: light yellow.
inline constexpr Rgb kInputBackground{0xFF, 0xFF, 0x80};

// The work of the hidden buttons, offered by the preview's context menu.
enum class PreviewCommand {
    Redraw,         // cmdDraw_Click
    InspectOutline, // Command3_Click
    WitExport,      // Command2_Click, in mode WIT only
    TextStyle,      // the text style dialog, where the view has one
    RestoreDesign,  // the design's face, size, angle and styles, remembered from then on
    ToolCheck,      // the drawing measured against a tool, its narrow places marked
};

// An entry of the preview's context menu; its key works anywhere in the window.
struct PreviewMenuItem {
    const char* name;
    const char* caption;
    int functionKey; // 5 is F5
};

constexpr PreviewMenuItem previewMenuItem(PreviewCommand command)
{
    switch (command) {
    case PreviewCommand::Redraw: return {"actRedraw", "再描画", 5};
    case PreviewCommand::InspectOutline: return {"actInspect", "アウトラインの確認", 6};
    case PreviewCommand::WitExport: return {"actWit", "WIT出力", 7};
    case PreviewCommand::TextStyle: return {"actTextStyle", "文字スタイル...", 9};
    case PreviewCommand::RestoreDesign: return {"actRestore", "フォントを初期値に戻す", 11};
    case PreviewCommand::ToolCheck: return {"actToolCheck", "工具の確認...", 4};
    }
    return {"", "", 0};
}

// The last entry, after a separator: the view's own fit of the drawing into
// the preview (fit_view.hpp), a check mark while it is on.
inline constexpr PreviewMenuItem kFitMenuItem{"actFit", "全体を表示", 8};

// The preview's tooltip: what the inspection drawing's colours and its tick
// mean (the closing segment is drawn green, then back over in black).
inline constexpr const char* kPreviewTip =
    "F6 アウトラインの確認: プレビューと同じ縮尺と位置。赤 = 輪郭の線分、黒 = 図形を閉じる線分、"
    "紫の斜線 = 点ごとに描く固定の印";

// The note under txtInput when the face that draws is not the one chosen:
// a quiet line in the gap above the size box, in a small design font.
inline constexpr design::TwipsRect kFaceNoteTwips{120, 975, 7215, 225};
inline constexpr float kFaceNotePoints = 8;
// The note on the active text style, anchor and mirror and on the last save:
// the same quiet line in the gap between the preview and the buttons.
inline constexpr design::TwipsRect kWindowNoteTwips{240, 6615, 6975, 225};

// The font dialog's box for a family's vertical "@" face, where the
// toolkit's own dialog does not list such faces.
inline constexpr const char* kVerticalFaceCaption = "縦書き (@ フォント)";

// The font dialog's group of stroke faces, after the outline faces, and
// its entry for none (the outline face draws).
inline constexpr const char* kStrokeFaceCaption = "単線フォント (ペン・彫刻用)";
inline constexpr const char* kNoStrokeFace = "なし (アウトライン)";

// The font dialog's button for a face from a font file that need not be
// installed, and the question for a collection's face.
inline constexpr const char* kFontFileButton = "フォントファイル...";
inline constexpr const char* kFaceIndexCaption = "フェイス番号 (0 から)";

} // namespace lw
