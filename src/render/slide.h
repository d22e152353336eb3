// The slide animation's step: every drawn position moves 4 pixels per frame toward the
// home of the slot that now holds its record.
#pragma once

#include <cstdint>

#include "board/board.h"

inline constexpr int32_t kSlideStep = 4;

// One axis: 4 pixels toward home, or onto home from within 4 pixels.
constexpr int32_t stepToward(int32_t coordinate, int32_t home) {
  if (coordinate < home - kSlideStep) return coordinate + kSlideStep;
  if (coordinate > home + kSlideStep) return coordinate - kSlideStep;
  return home;
}

// Steps all sixteen records, the blank's too. True when any record was off its slot's
// home at the start of the step, which is exactly when something moved.
bool stepSlide(Board& board);
