#include "export/dxf_text.hpp"

#include "base/codepage.hpp"

#include <string>
#include <string_view>
#include <utility>

namespace lw::dxf {
namespace {

// Horizontal (72) and vertical (73) alignment of TEXT at the anchor.
std::pair<int, int> textAlignment(Anchor anchor)
{
    switch (anchor) {
    case Anchor::BaselineLeft: return {0, 0};
    case Anchor::BaselineCentre: return {1, 0};
    case Anchor::BaselineRight: return {2, 0};
    case Anchor::BottomLeft: return {0, 1};
    case Anchor::BottomCentre: return {1, 1};
    case Anchor::BottomRight: return {2, 1};
    case Anchor::MiddleLeft: return {0, 2};
    case Anchor::Centre: return {1, 2};
    case Anchor::MiddleRight: return {2, 2};
    case Anchor::TopLeft: return {0, 3};
    case Anchor::TopCentre: return {1, 3};
    case Anchor::TopRight: return {2, 3};
    }
    return {0, 0};
}

// The text in code page 932; "%%" starts a control code in DXF text, so
// where it occurs every "%" is written as "%%%", the code for itself. A
// reader keeps at most `limit` bytes of a value: a longer text is cut at a
// whole character (the outline beside it keeps every letter).
std::string textBytes(std::string_view text, std::size_t limit)
{
    std::string bytes = toCp932(text);
    const bool percents = bytes.find("%%") != std::string::npos;
    const std::size_t room = percents ? limit / 3 : limit;
    if (bytes.size() > room) {
        std::size_t end = 0;
        for (std::size_t at = 0; at < bytes.size();) {
            const auto lead = static_cast<unsigned char>(bytes[at]);
            const std::size_t width = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
            if (at + width > room)
                break;
            at += width;
            end = at;
        }
        bytes.resize(end);
    }
    if (!percents)
        return bytes;
    std::string escaped;
    for (const char c : bytes)
        escaped += c == '%' ? std::string_view("%%%") : std::string_view(&c, 1);
    return escaped;
}

} // namespace

void writeTextEntity(Tags& t, const DxfPlacement& placement, std::optional<unsigned> handle)
{
    const DxfText& text = *placement.textEntity;
    t(0, "TEXT");
    if (handle)
        t.handle(5, *handle).handle(330, kModelSpaceRecord)(100, "AcDbEntity");
    t(8, kDxfTextLayer);
    if (handle)
        t(100, "AcDbText");
    // Release 12 keeps 255 bytes of a string, later versions 2049.
    t.point(10, 0, 0).number(40, text.heightMm)(1, textBytes(placement.text, handle ? 2049 : 255));
    if (text.angleDegrees != 0)
        t.number(50, text.angleDegrees);
    // Backwards (mirrored in x) or upside down (in y), as the outline is.
    if (text.mirror != Mirror::None)
        t(71, text.mirror == Mirror::X ? 2 : 4);
    const auto [horizontal, vertical] = textAlignment(text.anchor);
    if (horizontal != 0)
        t(72, horizontal);
    if (horizontal != 0 || vertical != 0)
        t.point(11, 0, 0);
    if (handle)
        t(100, "AcDbText");
    if (vertical != 0)
        t(73, vertical);
}

} // namespace lw::dxf
