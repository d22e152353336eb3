// Runs the game's frames in-process, without the real-time pacing, and keeps what each
// frame presented. Events go through SDL's own queue.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "app/game_context.h"

struct FrameHarness {
  GameContext game{};
  std::vector<std::string> arguments{"quilbrack"};
  // Whether the last frame presented, and the last presented picture, word by word.
  bool presented = false;
  std::vector<Uint32> shown;

  // A game as start-up leaves it: state StateChoosePicture, the real banner sheet loaded.
  FrameHarness();
  ~FrameHarness();

  // One frame; returns the exit status a handler asked for, or 0.
  int frame();
  // Runs frames until one presents or the limit is reached; returns how many ran.
  int framesUntilPresented(int limit);
  Uint32 shownAt(int32_t x, int32_t y) const { return shown[static_cast<size_t>(y) * 640 + x]; }
};

void pushButton(Uint8 type, Uint8 button);
void pushKey(SDLKey key, SDLMod modifiers = KMOD_NONE, Uint8 type = SDL_KEYDOWN);
void pushEventOfType(Uint8 type);
// Places the pointer where the next frame samples it, without leaving a motion event.
void movePointer(int32_t x, int32_t y);
void drainEvents();
