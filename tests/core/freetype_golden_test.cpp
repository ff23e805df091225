// Exact outlines from the FreeType backend: small captures whose every point
// is known, so a wrong sign or direction in the text layout shows as a diff.
#include "outline_checks.hpp"

using namespace lw;
using namespace lw::test;

TEST(FreeTypeGolden, DecoratedCapitalIAt32PixelsAtTheOrigin)
{
    struct Case {
        const char* name;
        bool italic, strikeout, underline;
        const char* dump;
    };
    const Case cases[] = {
        // Synthetic slant about the baseline: the top leans right.
        {"italic", true, false, false, "M 6,28 L 3,28 L 8,5 L 11,5 Z"},
        // Baseline at y 28, x-height from 12 to 28: the bar crosses the stem
        // inside it, centred on the strikeout position (13 px up, 3 px thick).
        {"strikeout", false, true, false, "M 6,28 L 3,28 L 3,5 L 6,5 Z M 0,14 L 9,14 L 9,17 L 0,17 Z"},
        // Below the baseline, centred on the underline position (4 px down, 2 px thick).
        {"underline", false, false, true, "M 6,28 L 3,28 L 3,5 L 6,5 Z M 0,31 L 9,31 L 9,33 L 0,33 Z"},
    };
    for (const Case& k : cases) {
        WindowFont font = fontOf(design::kFaceName);
        font.italic = k.italic;
        font.strikeout = k.strikeout;
        font.underline = k.underline;
        Capture c;
        const CapturedOutline& o = c.run("I", font);
        EXPECT_TRUE(wellFormed(o)) << k.name;
        EXPECT_EQ(dumpOutline(o), k.dump) << k.name;
    }
}
