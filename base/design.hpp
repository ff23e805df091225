#pragma once
// The design values the engine's defaults rest on: the screen's dpi and
// twips, the window's client area, the preview's drawing area, the design
// face and text. They sit below every layer, so the platform's surface, the
// capture, the exports, the command-line front end and the window all read
// them from here. Moving the preview here moves it everywhere.

namespace lw::design {

// The design is laid out in twips on a screen of 96 dpi: 15 twips a pixel.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kDpi = 96;

struct TwipsRect {
    int left, top, width, height;
};

// The window's client area: 7515 x 7410 twips, 501 x 494 pixels. The WIT
// export writes it as its extent.
inline constexpr int kClientWidthTwips = 7515;
inline constexpr int kClientHeightTwips = 7410;
inline constexpr float kClientWidth = float(kClientWidthTwips / kTwipsPerPixel);
inline constexpr float kClientHeight = float(kClientHeightTwips / kTwipsPerPixel);

// The preview picSmpl: 465 x 305 pixels outside with a 2-pixel sunken frame,
// so its drawing area (its scale width and height) is 461 x 301.
inline constexpr TwipsRect kPreviewTwips{240, 2040, 6975, 4575};
inline constexpr int kPreviewFrame = 2;
inline constexpr float kPreviewWidth = float(kPreviewTwips.width / kTwipsPerPixel - 2 * kPreviewFrame);
inline constexpr float kPreviewHeight = float(kPreviewTwips.height / kTwipsPerPixel - 2 * kPreviewFrame);

// The window font and the text box's text at start.
inline constexpr const char* kFaceName = "ＭＳ Ｐゴシック";
inline constexpr float kFontSize = 24;
inline constexpr const char* kText = "編集テキスト";

} // namespace lw::design
