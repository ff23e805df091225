#pragma once

namespace lw {

// The program's title: the caption of its message boxes.
inline constexpr const char* kProgramTitle = "Letterwire";
// The caption of the main window.
inline constexpr const char* kWindowCaption = "アウトラインフォント書きこみ";

} // namespace lw
