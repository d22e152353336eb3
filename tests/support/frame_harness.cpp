#include "support/frame_harness.h"

#include <cstring>

#include "app/frame_loop.h"
#include "picture/surface.h"

FrameHarness::FrameHarness() {
  drainEvents();
  game.state = StateChoosePicture;
  game.bannerSheet = loadPicture(QUILBRACK_ASSETS_DIR "/err.png");
  shown.assign(640 * 480, 0);
}

FrameHarness::~FrameHarness() {
  if (game.picture != nullptr) SDL_FreeSurface(game.picture);
  if (game.bannerSheet != nullptr) SDL_FreeSurface(game.bannerSheet);
  drainEvents();
}

int FrameHarness::frame() {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  presented = false;
  const int exitRequest = runFrame(game, static_cast<int>(arguments.size()), argv.data());
  if (exitRequest != 0) return exitRequest;
  if (game.needFlip) {
    for (int32_t y = 0; y < 480; ++y) {
      std::memcpy(&shown[static_cast<size_t>(y) * 640],
                  static_cast<Uint8*>(screen->pixels) + y * screen->pitch, 640 * 4);
    }
  }
  presented = presentFrame(game);
  return 0;
}

int FrameHarness::framesUntilPresented(int limit) {
  for (int count = 1; count <= limit; ++count) {
    frame();
    if (presented) return count;
  }
  return limit;
}

void pushButton(Uint8 type, Uint8 button) {
  SDL_Event event{};
  event.type = type;
  event.button.type = type;
  event.button.button = button;
  event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  SDL_PushEvent(&event);
}

void pushKey(SDLKey key, SDLMod modifiers, Uint8 type) {
  SDL_Event event{};
  event.type = type;
  event.key.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  event.key.keysym.mod = modifiers;
  SDL_PushEvent(&event);
}

void pushEventOfType(Uint8 type) {
  SDL_Event event{};
  event.type = type;
  SDL_PushEvent(&event);
}

void movePointer(int32_t x, int32_t y) {
  SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
  SDL_PumpEvents();
  SDL_Event motion;
  while (SDL_PeepEvents(&motion, 1, SDL_GETEVENT, SDL_MOUSEMOTIONMASK) > 0) {
  }
}

void drainEvents() {
  SDL_PumpEvents();
  SDL_Event ignored;
  while (SDL_PeepEvents(&ignored, 1, SDL_GETEVENT, SDL_ALLEVENTS) > 0) {
  }
}
