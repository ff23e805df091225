#include "form/captions.hpp"

#include "form/face_note_caption.hpp"
#include "form/form_design.hpp"
#include "form/tool_marks.hpp"

namespace lw {
namespace {

constexpr CaptionTranslation kTranslations[] = {
    // The form and the preview's menu.
    {"アウトラインフォント書きこみ", "Outline Font Writer"},
    {"サイズ", "Size"},
    {"傾き", "Angle"},
    {"フォント...", "Font..."},
    {"キャンセル", "Cancel"},
    {"再描画", "Redraw"},
    {"アウトラインの確認", "Inspect outline"},
    {"WIT出力", "WIT export"},
    {"全体を表示", "Fit to preview"},
    {"フォントを初期値に戻す", "Restore the default font"},
    {"工具の確認...", "Check for a tool..."},
    {kToolSizeCaption, "Tool width (mm):"},
    {kToolSizeRefused, "Type the tool's width as a number of mm above 0, at most 100"},
    {kPreviewTip,
     "F6 Inspect outline: same scale and place as the preview. Red = outline segments, black = each figure's "
     "closing segment, purple tick = a fixed mark drawn once per point"},
    // The text style dialog.
    {"文字スタイル...", "Text style..."},
    {"文字スタイル", "Text style"},
    {"字間", "Spacing"},
    {"幅", "Width"},
    {"太字", "Bold"},
    {"円弧の半径", "Arc radius"},
    {"円弧の角度", "Arc angle"},
    {"傾斜", "Oblique"},
    {"均等割付", "Fit to"},
    {"幅で合わせる", "Fit by width"},
    {"カーニング", "Kerning"},
    {kFontFileButton, "Font file..."},
    {kStrokeFaceCaption, "Stroke font (pen, engraving)"},
    {kNoStrokeFace, "None (outline)"},
    {kFaceIndexCaption, "Face index (from 0)"},
    {"フォントの太字はアウトラインには使われません", "The font's bold is not used in the outline"},
    {"pt で、または mm を付けて (0.5mm) 入力します", "In points, or in millimetres with mm (0.5mm)"},
    // The note line under the preview.
    {"保存しました:", "Saved:"},
    // The save dialog.
    {"アウトラインの保存", "Save the outline"},
    {"DXF 図面", "DXF drawing"},
    {"SVG 画像", "SVG picture"},
    {"JW 座標の行", "JW point lines"},
    {"PDF 図面", "PDF drawing"},
    {"HPGL (プロッタ)", "HPGL (plotter)"},
    {"R12 (古いカッター用)", "R12 (older cutters)"},
    {"図形に合わせる", "Fit the drawing"},
    {"塗りつぶし", "Filled"},
    {"カット線 (赤の細線)", "Cut lines (red hairlines)"},
    {"文字列を TEXT で残す", "Keep the text as TEXT"},
    {"用紙:", "Page:"},
    {"余白:", "Margin:"},
    {"オーバーカット:", "Overcut:"},
    {"ステンシルのブリッジ:", "Stencil bridges:"},
    {"島ごとのブリッジ:", "Bridges per island:"},
    {"ペンの幅 (単線):", "Pen width (strokes):"},
    {"中心線 (単線)", "Centreline (single line)"},
    {"従来 (0.26 mm)", "Classic (0.26 mm)"},
    {"精度:", "Precision:"},
    {"重なりを結合", "Merge overlaps"},
    {"オフセット (mm):", "Offset (mm):"},
    {"基準点:", "Anchor:"},
    {"反転:", "Mirror:"},
    {"正確な曲線", "Exact curves"},
    {"ベースライン左", "Baseline left"},
    {"ベースライン中央", "Baseline centre"},
    {"ベースライン右", "Baseline right"},
    {"左上", "Top left"},
    {"上中央", "Top centre"},
    {"右上", "Top right"},
    {"左中央", "Middle left"},
    {"中央", "Centre"},
    {"右中央", "Middle right"},
    {"左下", "Bottom left"},
    {"下中央", "Bottom centre"},
    {"右下", "Bottom right"},
    {"なし", "None"},
    {"左右 (x)", "Left to right (x)"},
    {"上下 (y)", "Top to bottom (y)"},
    {"オフセットは -100 から 100 までの mm の数で入力してください",
     "Type the offset as a number of mm from -100 to 100"},
    // The font dialog's box for an "@" face.
    {kVerticalFaceCaption, "Vertical (@ face)"},
    // The note under the text box on the face that drew.
    {kFaceLacksTextCaption, kFaceLacksTextWording},
    {kFaceLacksTextUnnamedCaption, kFaceLacksTextUnnamedWording},
    {kOtherFaceCaption, kOtherFaceWording},
};

} // namespace

std::span<const CaptionTranslation> captionTranslations() { return kTranslations; }

const char* englishCaption(std::string_view design)
{
    for (const CaptionTranslation& t : kTranslations)
        if (design == t.japanese)
            return t.english;
    return nullptr;
}

const char* caption(const char* design, Language language)
{
    if (language == Language::English)
        if (const char* english = englishCaption(design))
            return english;
    return design;
}

} // namespace lw
