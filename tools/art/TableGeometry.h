// The table-tennis world in world units (1.0 = 0x8000 of the game's Fixed values): the table,
// the floor and the court's barrier where the game's physics has them, and the proportions
// of the table's body that only the pictures need.
#pragma once

namespace vornel {

class TableGeometry {
public:
    static constexpr double kUnit = 32768.0;  // Fixed value of one world unit

    static constexpr double kHalfWidth = 1077411 / kUnit;    // |x| of the table's sides, 32.88
    static constexpr double kHalfLength = 1762000 / kUnit;   // |z| of the table's ends, 53.77
    static constexpr double kTopY = 822607 / kUnit;          // the playing surface, 25.10
    static constexpr double kBallWidth = 0x19326 / kUnit;    // 3.15
    static constexpr double kFloorBallY = 31156 / kUnit;     // ball centre resting on the floor
    // The floor itself lies one ball radius below a ball resting on it.
    static constexpr double kFloorY = kFloorBallY - kBallWidth / 2;
    // Where the ball is turned back behind the opponent: the court's back barrier.
    static constexpr double kBarrierZ = 5898240 / kUnit;     // 180.0

    // Proportions of the table's body below its playing surface, in world units.
    static constexpr double kTopThickness = 1.1;
    static constexpr double kLineWidth = 1.0;        // side and end lines
    static constexpr double kCentreLineWidth = 0.6;  // the doubles line down the middle
};

}  // namespace vornel
