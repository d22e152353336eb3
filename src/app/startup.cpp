#include "app/startup.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/exit_status.h"
#include "app/frame_loop.h"
#include "picture/surface.h"

namespace {
// The window icon is loaded once and kept until the process ends, like the banner sheet and
// the picture in the game record below. Both live in static storage rather than on the stack
// so that a leak checker run at exit still sees them as held.
SDL_Surface* windowIcon = nullptr;
GameContext game{};
}  // namespace

int runGame(int argc, char** argv) {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    std::printf("Nie udalo sie zainicjowac sdl'a~");
    return kExitSdlInitFailed;
  }
  screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, SDL_DOUBLEBUF);
  if (screen == nullptr) {
    std::printf("Nie udalo sie ustawic trybu video~");
    return kExitVideoModeFailed;
  }
  game.needFlip = false;
  game.heldButton = 0;
  game.solvedPhase = 0;
  game.noPictureTicks = 0;
  game.peekShown = false;
  game.state = StateChoosePicture;
  SDL_WM_SetCaption("Quilbrack", nullptr);
  // Without an icon the window keeps the default one.
  windowIcon = loadPicture("icon.png");
  SDL_WM_SetIcon(windowIcon, nullptr);
  game.picture = nullptr;
  game.bannerSheet = loadPicture("err.png");
  if (game.bannerSheet == nullptr) {
    std::printf("Nie udalo sie wczytac err.png");
    return kExitBannerLoadFailed;
  }
  const int status = runFrameLoop(game, argc, argv);
  // Surfaces still held are left to the end of the process; SDL_Quit only on a normal end.
  if (status != kExitNormal) return status;
  SDL_Quit();
  return kExitNormal;
}
