// Text laid under a world transform against the same text turned by the
// font's escapement, the layout's own rotation about the reference point:
// a quarter turn and a whole-pixel move are exact both ways, so the paths
// must be point for point the same, and what the path held before the
// turned text must stay as it was.
#include "outline_checks.hpp"

#include "base/codepage.hpp"
#include "outline/text_output.hpp"
#include "platform/world_transform.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lw;
using test::fontOf;

namespace {

struct Flat {
    std::vector<POINT> points;
    std::vector<std::uint8_t> types;
    friend bool operator==(const Flat&, const Flat&) = default;
};

// "X" straight at (5, 7), then `text` at (x, y): turned by the escapement,
// or laid at the origin under a transform that turns and moves it.
Flat laid(const char* face, const std::string& text, int quarterTurns, int x, int y, bool transformed, bool bars)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    WindowFont font = fontOf(face, 36);
    font.underline = font.strikeout = bars;
    LOGFONT plain;
    setLogFont(plain, face, 48, 0, font);
    LOGFONT turned;
    setLogFont(turned, face, 48, transformed ? 0 : 90 * quarterTurns, font);
    const std::string bytes = toCp932(text);
    BeginPath(dc);
    {
        SelectedFont f(dc, CreateFontIndirectA(toAnsiLogFont(plain)));
        TextOutA(dc, 5, 7, "X", 1);
    }
    {
        SelectedFont f(dc, CreateFontIndirectA(toAnsiLogFont(turned)));
        if (transformed) {
            // Counter-clockwise on the screen, as the escapement turns.
            const int c[] = {1, 0, -1, 0}, s[] = {0, 1, 0, -1};
            const int q = quarterTurns % 4;
            const WorldTransform t{.m11 = double(c[q]), .m12 = double(-s[q]), .m21 = double(s[q]),
                                   .m22 = double(c[q]), .dx = double(x), .dy = double(y)};
            TextOutTransformed(dc, t, 0, 0, bytes.data(), int(bytes.size()));
        } else {
            TextOutA(dc, x, y, bytes.data(), int(bytes.size()));
        }
    }
    EndPath(dc);
    Flat out;
    const int n = flattenPathInto(dc, out.points, out.types);
    out.points.resize(std::size_t(std::max(n, 0)));
    out.types.resize(std::size_t(std::max(n, 0)));
    return out;
}

} // namespace

TEST(WorldTransform, AQuarterTurnAndAMoveLayTheTextAsTheEscapementDoes)
{
    struct Case {
        const char* face;
        const char* text;
        bool bars;
    };
    // The same face as the "X" before it (the glyphs would join its
    // group), a face of its own, a fallback face inside the line, bars.
    const Case cases[] = {{"DejaVu Sans", "Hello 8", false},
                          {"IPAGothic", "編集テキスト", false},
                          {"DejaVu Sans", "BOB 出口 8", true},
                          {"IPAMincho", "回図gy", true}};
    for (const Case& c : cases)
        for (int quarter = 0; quarter < 4; ++quarter)
            for (const auto& [x, y] : {std::pair{0, 0}, std::pair{300, -120}, std::pair{-41, 77}}) {
                SCOPED_TRACE(std::string(c.face) + " " + c.text + " " + std::to_string(quarter * 90) + "° at " +
                             std::to_string(x) + "," + std::to_string(y));
                const Flat turned = laid(c.face, c.text, quarter, x, y, false, c.bars);
                ASSERT_GT(turned.points.size(), 20u);
                EXPECT_TRUE(laid(c.face, c.text, quarter, x, y, true, c.bars) == turned);
            }
}

namespace {

// `text` slanted about its baseline by the world transform, then placed by
// TextOutTransformed's own turn and move; or laid once under the two maps
// composed by hand (the turn after the slant) as the world transform.
Flat slanted(const std::string& text, float slant, int quarterTurns, int x, int y, bool placed)
{
    NullCanvas canvas;
    DeviceContext dc(canvas);
    LOGFONT logFont;
    setLogFont(logFont, "DejaVu Sans", 48, 0, fontOf("DejaVu Sans", 36));
    const std::string bytes = toCp932(text);
    const int c[] = {1, 0, -1, 0}, s[] = {0, 1, 0, -1};
    const int q = quarterTurns % 4;
    const XFORM shear{1, 0, -slant, 1, 0, 0};
    // x' = x c + y s + dx, y' = -x s + y c + dy after the shear.
    const XFORM both{float(c[q]), float(-s[q]), -slant * float(c[q]) + float(s[q]),
                     slant * float(s[q]) + float(c[q]), float(x), float(y)};
    BeginPath(dc);
    {
        SelectedFont f(dc, CreateFontIndirectA(toAnsiLogFont(logFont)));
        SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        SetGraphicsMode(dc, GM_ADVANCED);
        SetWorldTransform(dc, placed ? shear : both);
        if (placed) {
            const WorldTransform t{.m11 = double(c[q]), .m12 = double(-s[q]), .m21 = double(s[q]),
                                   .m22 = double(c[q]), .dx = double(x), .dy = double(y)};
            TextOutTransformed(dc, t, 0, 0, bytes.data(), int(bytes.size()));
        } else {
            TextOutA(dc, 0, 0, bytes.data(), int(bytes.size()));
        }
        ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
        SetGraphicsMode(dc, GM_COMPATIBLE);
    }
    EndPath(dc);
    Flat out;
    const int n = flattenPathInto(dc, out.points, out.types);
    out.points.resize(std::size_t(std::max(n, 0)));
    out.types.resize(std::size_t(std::max(n, 0)));
    return out;
}

} // namespace

// A slant set as the world transform stays each glyph's own under
// TextOutTransformed's placement (text on an arc, slanted): the same path
// as the two maps composed by hand and laid in one.
TEST(WorldTransform, APlacementComposesAfterTheSlantInForce)
{
    for (const float slant : {0.25f, -0.5f})
        for (int quarter = 0; quarter < 4; ++quarter)
            for (const auto& [x, y] : {std::pair{0, 0}, std::pair{300, -120}}) {
                SCOPED_TRACE(std::to_string(slant) + " " + std::to_string(quarter * 90) + "° at " +
                             std::to_string(x) + "," + std::to_string(y));
                const Flat once = slanted("HxlB8", slant, quarter, x, y, false);
                ASSERT_GT(once.points.size(), 20u);
                EXPECT_TRUE(slanted("HxlB8", slant, quarter, x, y, true) == once);
            }
}
