// Form1::arcTooLong: the JW and WIT exports refuse a text longer than its
// circle is round, as the command line and the window's save do; its
// characters would lie over one another.
#include "form/form1.hpp"
#include "export/offscreen_capture.hpp"

namespace lw {

bool Form1::arcTooLong()
{
    if (!style_.arc.isArc())
        return false;
    OffscreenCapture capture(captureSource(view_.text(TextBox::txtInput)), Placement::Origin,
                             1440.0 / view_.twipsPerPixelX());
    const std::string tooLong = capture.arcShortfall();
    if (tooLong.empty())
        return false;
    tell("On the arc " + tooLong + ". Nothing was written.");
    return true;
}

} // namespace lw
