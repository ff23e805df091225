// A Latin face and a Japanese text: the face draws the characters it holds,
// a fallback face only those it lacks, on the same line, on every backend.
#include "outline_checks.hpp"
#include "outline/text_output.hpp"
#include "platform/face_info.hpp"

using namespace lw;
using namespace lw::test;

namespace {

std::vector<std::vector<POINT>> figuresOf(const CapturedOutline& o)
{
    std::vector<std::vector<POINT>> out;
    for (const Figure& f : figures(o))
        out.emplace_back(f.points.begin(), f.points.end());
    return out;
}

} // namespace

TEST(LinkedFace, TheChosenFaceDrawsWhatItHoldsAndAFallbackTheRest)
{
    const struct {
        const char* face;
        const char* held;  // all in the face
        const char* mixed; // `held`, then characters the face lacks
        const char* tail;  // the face's again after them
    } cases[] = {
        {"DejaVu Sans", "AB", "ABテ", ""},
        {"DejaVu Serif", "Hi ", "Hi 出口", ""},
        {"DejaVu Sans", "BOB ", "BOB 出口 8", " 8"},
    };
    for (const auto& c : cases) {
        Capture held, mixed, tail;
        const auto heldFigures = figuresOf(held.run(c.held, fontOf(c.face)));
        const auto mixedFigures = figuresOf(mixed.run(c.mixed, fontOf(c.face)));
        ASSERT_FALSE(heldFigures.empty()) << c.face << " " << c.held;
        ASSERT_GT(mixedFigures.size(), heldFigures.size()) << c.face << " " << c.mixed;
        // The letters before the first lacking character are the face's own,
        // point for point (a face drawing the whole text would differ).
        for (std::size_t i = 0; i < heldFigures.size(); ++i)
            EXPECT_EQ(mixedFigures[i], heldFigures[i]) << c.face << " " << c.mixed << " figure " << i;
        if (*c.tail) {
            // The letters after them too, moved along the line as a whole.
            const auto tailFigures = figuresOf(tail.run(c.tail, fontOf(c.face)));
            ASSERT_GE(mixedFigures.size(), tailFigures.size());
            const std::size_t from = mixedFigures.size() - tailFigures.size();
            const POINT shift{mixedFigures[from][0].x - tailFigures[0][0].x,
                              mixedFigures[from][0].y - tailFigures[0][0].y};
            EXPECT_EQ(shift.y, 0) << c.mixed;
            for (std::size_t i = 0; i < tailFigures.size(); ++i)
                for (std::size_t k = 0; k < tailFigures[i].size() && k < mixedFigures[from + i].size(); ++k) {
                    const POINT p = mixedFigures[from + i][k], q = tailFigures[i][k];
                    EXPECT_EQ(p, (POINT{q.x + shift.x, q.y + shift.y})) << c.mixed << " figure " << i;
                }
        }
        // The report names the chosen face as the one that drew its letters.
        EXPECT_EQ(describeFace(c.face, false, c.mixed).family, c.face) << c.mixed;
    }
}

TEST(LinkedFace, AFallbackCharacterTakesTheStyleAsInItsOwnFace)
{
    // The platform's linked font takes the same lfWidth and weight: the width
    // against the fallback's own average width (IPAGothic's differs from
    // DejaVu's at a 100-pixel em: 50 against 51), bold by the fallback's own
    // weight (DejaVu has a bold, IPAGothic has none and is thickened).
    const struct {
        std::int32_t height, width, weight;
    } cases[] = {
        {32, 0, FW_NORMAL}, {32, 0, FW_BOLD}, {100, 75, FW_NORMAL}, {100, 75, FW_BOLD}, {32, 24, FW_BOLD},
    };
    for (const auto& c : cases) {
        std::vector<std::vector<POINT>> shapes[2];
        int k = 0;
        for (const char* face : {"DejaVu Sans", "IPAGothic"}) {
            LOGFONT logFont;
            setLogFont(logFont, face, c.height, 0, WindowFont{});
            logFont.lfWidth = c.width;
            logFont.lfWeight = c.weight;
            NullCanvas canvas;
            DeviceContext dc(canvas);
            CapturedOutline outline;
            capturePath(dc, logFont, "出", 0, 0, 0, outline);
            shapes[k++] = figuresOf(outline);
        }
        const auto& [linked, own] = shapes;
        const auto what = ::testing::Message() << c.height << " px, lfWidth " << c.width << ", weight " << c.weight;
        ASSERT_EQ(linked.size(), own.size()) << what;
        ASSERT_FALSE(own.empty()) << what;
        // The same shape, wherever each face's ascent puts it.
        const POINT shift{linked[0][0].x - own[0][0].x, linked[0][0].y - own[0][0].y};
        for (std::size_t i = 0; i < own.size(); ++i) {
            ASSERT_EQ(linked[i].size(), own[i].size()) << what << ", figure " << i;
            for (std::size_t j = 0; j < own[i].size(); ++j)
                EXPECT_EQ(linked[i][j], (POINT{own[i][j].x + shift.x, own[i][j].y + shift.y}))
                    << what << ", figure " << i << " point " << j;
        }
    }
}
