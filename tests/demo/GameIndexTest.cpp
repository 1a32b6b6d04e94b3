// The games of a session told apart in the match after each frame: one played to its end, one
// left when a new game was chosen, one left when the session ended; a game set up but never
// played is no game, and a change of level alone does not make one.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "demo/GameIndex.h"

namespace vornel {
namespace {

using Phase = MatchMoment::Phase;

MatchMoment at(int32_t player, int32_t opponent, Phase phase, bool hard = false) {
    return {hard, player, opponent, phase};
}

TEST(GameIndexTest, GamesBeginWithAServeAndEndPlayedOutOrLeft) {
    GameIndex index;
    std::vector<DemoGame> written;
    uint32_t frame = 0;
    const auto observe = [&](const MatchMoment& moment) {
        if (const std::optional<DemoGame> entry = index.observe(frame++, moment)) {
            written.push_back(*entry);
        }
    };
    observe(at(0, 0, Phase::kPointOver));       // 0: the scene is being set up
    observe(at(0, 0, Phase::kServeWaiting));    // 1: a game is ready
    observe(at(0, 0, Phase::kServeWaiting, true));  // 2: the level changed in the menu
    observe(at(0, 0, Phase::kRally, true));     // 3: served: the game counts
    observe(at(1, 0, Phase::kPointOver, true)); // 4
    observe(at(11, 9, Phase::kPointOver, true));  // 5: the last point
    observe(at(0, 0, Phase::kPointOver, true)); // 6: its fortune: played to its end
    observe(at(0, 0, Phase::kServeWaiting));    // 7: the next game is ready
    observe(at(0, 0, Phase::kRally));           // 8
    observe(at(2, 1, Phase::kRally));           // 9
    observe(at(0, 0, Phase::kServeWaiting));    // 10: a new game chosen: the last one left at 2:1
    observe(at(0, 0, Phase::kServeWaiting));    // 11
    observe(at(0, 1, Phase::kPointOver));       // 12: a point counts too
    const std::optional<DemoGame> last = index.sessionEnds(20);
    ASSERT_TRUE(last);
    EXPECT_EQ(*last, (DemoGame{3, 10, 20, false, 0, 1, false}));
    EXPECT_EQ(index.games(), 3u);
    ASSERT_EQ(written.size(), 8u);
    EXPECT_EQ(written[0], (DemoGame{1, 1, 3, true, 0, 0, false}));
    EXPECT_EQ(written[3], (DemoGame{1, 1, 5, true, 11, 9, true}));
    EXPECT_EQ(written[4], (DemoGame{2, 7, 8, false, 0, 0, false}));
    EXPECT_EQ(written[6], (DemoGame{2, 7, 9, false, 2, 1, false}));
    EXPECT_EQ(written[7], (DemoGame{3, 10, 12, false, 0, 1, false}));

    GameIndex unplayed;
    unplayed.observe(0, at(0, 0, Phase::kServeWaiting));
    EXPECT_FALSE(unplayed.observe(1, at(0, 0, Phase::kServeWaiting, true)));
    EXPECT_FALSE(unplayed.sessionEnds(1));
}

}  // namespace
}  // namespace vornel
