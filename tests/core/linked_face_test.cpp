// A Latin face and a Japanese text: the face draws the characters it holds,
// a fallback face only those it lacks, on the same line, on every backend.
#include "outline_checks.hpp"
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
