// The built-in player's look ahead at the ball's path, with the game's own flight rules.
#include "game/BallForecast.h"

#include "game/GameScene.h"
#include "game/MatchConstants.h"

namespace vornel {

using namespace match;

namespace {

// Beyond this depth no player's bat can reach the ball any more.
constexpr Fixed kBeyondReach = kPlayerFarthestZ - 98304;

Fixed absolute(Fixed value) { return value < 0 ? -value : value; }

}  // namespace

void BallForecast::follow(const GameScene& scene) {
    m_size = 0;
    m_coming = false;
    if (!scene.m_ball || !scene.m_ballVelocity) {
        return;
    }
    Stage stage = firstStage(scene);
    m_coming = stage != Stage::Over;
    Flight flight{scene.m_ball->m_posX, scene.m_ball->m_posY, scene.m_ball->m_posZ,
                  scene.m_ballVelocity->m_x, scene.m_ballVelocity->m_y, scene.m_ballVelocity->m_z};
    Fixed time = 0;
    for (int32_t step = 0; step < kMostSteps && stage != Stage::Over && m_size < kMostSamples; ++step) {
        stage = advance(flight, stage);
        time += kSubStep;
        if (flight.z < kBeyondReach) {
            return;
        }
        if (stage == Stage::Strikable) {
            m_samples[static_cast<std::size_t>(m_size++)] = Sample{flight.x, flight.y, flight.z, time};
        }
    }
}

// Only a ball the opponent struck last comes to the player.
BallForecast::Stage BallForecast::firstStage(const GameScene& scene) {
    if (scene.m_serverFlag != 0) {
        return Stage::Over;
    }
    switch (scene.m_matchState) {
        case GameScene::kServeInFlight:
            return Stage::ServeInFlight;
        case GameScene::kToReceiver:
            return Stage::Incoming;
        case GameScene::kBounced:
            return scene.m_ball->m_posZ < 0 ? Stage::Strikable : Stage::Over;
        default:
            return Stage::Over;
    }
}

BallForecast::Stage BallForecast::advance(Flight& flight, Stage stage) {
    const Fixed z0 = flight.z;
    const Fixed gravityStep = fmul(kSubStep, kGravity);
    flight.vy += gravityStep;
    applyDrag(flight);
    const bool onTable = isOverTable(flight);
    flight.x += fmul(flight.vx, kSubStep);
    flight.y += fmul(flight.vy, kSubStep);
    flight.z += fmul(flight.vz, kSubStep);
    const Fixed level = onTable ? kTableLevel : kFloorLevel;
    if (flight.y <= level) {
        stage = afterBounce(flight, stage, onTable, gravityStep);
    }
    const bool crossedNet = (z0 < 0) != (flight.z < 0);
    if (crossedNet && flight.y >= kTableTop && flight.y <= kNetTop) {
        return Stage::Over;
    }
    if (flight.z > kFarWall && flight.vz > 0) {
        flight.vz = -flight.vz;
    }
    return stage;
}

BallForecast::Stage BallForecast::afterBounce(Flight& flight, Stage stage, bool onTable, Fixed gravityStep) {
    Stage next = Stage::Over;
    if (stage == Stage::ServeInFlight) {
        next = Stage::Incoming;
    } else if (stage == Stage::Incoming && flight.z < 0) {
        next = Stage::Strikable;
    }
    const Fixed level = onTable ? kTableLevel : kFloorLevel;
    if (!onTable) {
        flight.vx += fmul(-flight.vx, kFloorDamping);
        flight.vy += fmul(-flight.vy, kFloorDamping);
        flight.vz += fmul(-flight.vz, kFloorDamping);
        if (absolute(flight.vz) < kRestingSpeed) {
            return Stage::Over;
        }
    }
    flight.y = level - (flight.y - level);
    if (flight.vy >= 2 * gravityStep && flight.vy <= 0) {
        flight.vy = 0;
        flight.y = level;
    }
    flight.vy = -fmul(flight.vy, kBounceRestitution);
    return next;
}

// Air drag, -v·n²/32768 a second with n the speed in whole units, measured with the same
// cheap length estimate as the ball's.
void BallForecast::applyDrag(Flight& flight) {
    const Fixed a = absolute(flight.vx);
    const Fixed b = absolute(flight.vy);
    const Fixed c = absolute(flight.vz);
    const Fixed larger = a > b ? a : b;
    const Fixed smaller = a > b ? b : a;
    const Fixed middle = smaller > c ? smaller : c;
    const Fixed least = smaller > c ? c : smaller;
    const int32_t speed = (larger + ((11 * middle) >> 5) + (least >> 2)) >> kFixedShift;
    const Fixed factor = speed * speed;
    flight.vx += fmul(fmul(-flight.vx, factor), kSubStep);
    flight.vy += fmul(fmul(-flight.vy, factor), kSubStep);
    flight.vz += fmul(fmul(-flight.vz, factor), kSubStep);
}

bool BallForecast::isOverTable(const Flight& flight) {
    return flight.y >= kTableTop && absolute(flight.x) <= GameScene::kTableHalfWidth &&
           absolute(flight.z) <= GameScene::kTableHalfLength;
}

}  // namespace vornel
