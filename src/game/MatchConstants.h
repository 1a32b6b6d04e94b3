// The numbers of the match that more than one part of the game needs: the ball's flight and
// the player's bat. The ball, the bats and the built-in player all take them from here, so
// the player's forecast never drifts from the rules it forecasts. Fixed values (0x8000 = 1.0)
// per second of game time unless said otherwise.
#pragma once

#include <cstdint>

#include "core/Fixed.h"

namespace vornel::match {

// ---- The ball ----
inline constexpr Fixed kGravity = -12954957;          // -395.35 a second, added to vy
inline constexpr Fixed kTableLevel = 874210;          // 26.68: the ball's centre resting on the table
inline constexpr Fixed kFloorLevel = 31156;           // 0.95: the ball's centre resting on the floor
inline constexpr Fixed kTableTop = 822607;            // 25.10: lowest height above the table, net foot
inline constexpr Fixed kNetTop = kTableTop + 250570;  // 32.79: the top of the net band
inline constexpr Fixed kFarWall = 5898240;            // 180.0: behind the opponent the ball turns back
inline constexpr Fixed kBounceRestitution = 28835;    // 0.88 of the vertical speed survives a bounce
inline constexpr Fixed kFloorDamping = 6553;          // 0.20 of the velocity is lost on the floor
inline constexpr Fixed kRestingSpeed = 128;           // a floor ball slower than this in depth has stopped
inline constexpr int32_t kLongestFrameMs = 166;       // a longer frame is simulated as this long
inline constexpr Fixed kGameRateNormal = 0x5000;      // game time per real time: 0.625
inline constexpr Fixed kGameRateFast = 0x6000;        // 0.75 on touch screens and on Hard

// ---- The player's bat ----
inline constexpr int32_t kPlayerFrameCapMs = 120;      // a longer frame moves the bat this much at most
inline constexpr Fixed kSpeedGainPerMs = 256;          // the ramp: full speed after 400 ms of movement
inline constexpr Fixed kPlayerTopSpeed = 102400;       // 3.125 units per frame
inline constexpr Fixed kPlayerNearestZ = -393216;      // 12.0 from the net
inline constexpr Fixed kPlayerFarthestZ = -2548432;    // 77.77 from the net
inline constexpr Fixed kPlayerBaseLine = -2155216;     // where the bat drifts back to, 65.77 from the net

}  // namespace vornel::match
