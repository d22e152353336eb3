// The frame loop: one frame every 20 ms, one event per frame, one state's handlers per
// frame, presentation only at the end of a frame.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "app/game_context.h"

inline constexpr uint32_t kFrameMillis = 20;

// The one event record that every poll fills.
extern SDL_Event event;

// Applies one polled event to the game.
void applyEvent(GameContext& game, const SDL_Event& polled);

// One frame up to and including the state's handlers: clock, pointer, one poll, dispatch.
// Returns the exit status a handler asked for (kExitNoPicture), or 0 to go on.
int runFrame(GameContext& game, int argc, char** argv);

// Presents the back buffer when the frame asked for it. True when it did.
bool presentFrame(GameContext& game);

// What is left of the frame that started at frameStart, when the clock reads now.
// Unsigned tick arithmetic, so a frame that spans the wrap of the counter still counts right.
uint32_t frameDelay(uint32_t frameStart, uint32_t now);

// Runs frames until the game quits (returns 0) or a handler asks to end the program
// (returns its status).
int runFrameLoop(GameContext& game, int argc, char** argv);
