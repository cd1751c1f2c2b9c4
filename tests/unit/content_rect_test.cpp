// The content rectangle: the largest centred 16:9 rectangle, to the nearest pixel, in the window.
#include "app_state.h"
#include "content_rect.h"
#include "letterbox_reference.h"

#include <gtest/gtest.h>

#include <array>

namespace
{

struct Case {
    int width, height;
    SDL_Rect expected;
    const char *why;
};

const Case cases[] = {
    {800, 600, {0, 75, 800, 450}, "the starting size: letterbox"},
    {400, 225, {0, 0, 400, 225}, "the minimum size: no bars"},
    {1920, 1080, {0, 0, 1920, 1080}, "exact 16:9"},
    {1920, 1200, {0, 60, 1920, 1080}, "letterbox"},
    {2560, 1080, {320, 0, 1920, 1080}, "pillarbox"},
    {1366, 768, {0, 0, 1366, 768}, "768.375 rounds to 768, which fits"},
    {808, 600, {0, 73, 808, 454}, "454.5 rounds to the even 454, not 455"},
    {808, 454, {0, 0, 808, 454}, "454.5 rounds to the even 454, which fits: no bars"},
    {801, 600, {0, 74, 801, 451}, "a half-pixel bar truncates: the top bar is narrower"},
    {1000, 450, {100, 0, 800, 450}, "562.5 rounds to 562, which exceeds 450: pillarbox"},
    {401, 225, {0, 0, 400, 225}, "225.5625 rounds to 226 > 225; 225 tall gives 400 wide"},
    {0, 0, {0, 0, 0, 0}, "a zero size gives an empty rectangle"},
};

std::ostream &operator<<(std::ostream &out, const Case &c)
{
    return out << c.width << " x " << c.height;
}

class ContentRect : public ::testing::TestWithParam<Case>
{
};

TEST_P(ContentRect, IsTheLargestCentred16By9RectangleThatFits)
{
    const Case &c = GetParam();
    appState.contentRect = SDL_Rect{-1, -1, -1, -1};
    recomputeContentRect(c.width, c.height);
    const SDL_Rect &r = appState.contentRect;
    EXPECT_EQ((std::array<int, 4>{r.x, r.y, r.w, r.h}),
              (std::array<int, 4>{c.expected.x, c.expected.y, c.expected.w, c.expected.h}))
        << c.width << " x " << c.height << ": " << c.why;
}

INSTANTIATE_TEST_SUITE_P(Table, ContentRect, ::testing::ValuesIn(cases));

// Every window up to 4096 × 4096 against exact integer arithmetic, and the properties a
// letterbox must have whatever the arithmetic.
TEST(ContentRectSweep, MatchesExactArithmeticAndFitsEveryWindowUpTo4096)
{
    constexpr int LIMIT = 4096;
    long failures = 0;
    for (int width = 0; width <= LIMIT && failures < 5; ++width) {
        for (int height = 0; height <= LIMIT && failures < 5; ++height) {
            recomputeContentRect(width, height);
            const SDL_Rect r = appState.contentRect;
            const ReferenceRect e = letterboxReference(width, height);
            const bool fits = r.x >= 0 && r.y >= 0 && r.x + r.w <= width && r.y + r.h <= height;
            const bool centred = r.x == (width - r.w) / 2 && r.y == (height - r.h) / 2;
            const bool spansWidthOrHeight = r.w == width || r.h == height;
            // Within a pixel of 16:9: |9w - 16h| is at most half of 16 or of 9 pixels' worth.
            const long aspectError = 9L * r.w - 16L * r.h;
            const bool is16By9 = aspectError >= -8 && aspectError <= 8;
            if (r.x != e.x || r.y != e.y || r.w != e.w || r.h != e.h || !fits || !centred ||
                !spansWidthOrHeight || !is16By9) {
                ++failures;
                ADD_FAILURE() << width << " x " << height << " gives {" << r.x << ", " << r.y
                              << ", " << r.w << ", " << r.h << "}, expected {" << e.x << ", " << e.y
                              << ", " << e.w << ", " << e.h << "}; fits " << fits << ", centred "
                              << centred << ", largest " << spansWidthOrHeight << ", 16:9 "
                              << is16By9;
            }
        }
    }
}

} // namespace
