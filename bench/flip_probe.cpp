// A measuring shim, loaded with LD_PRELOAD into the real game by bench/measure_game.py:
// it writes the monotonic time of every SDL_Flip (every presented frame), in microseconds,
// one per line, to the file named by QUILBRACK_FLIP_LOG. The game itself is unchanged.
#include <SDL.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

#include <cstdio>

extern "C" int SDL_Flip(SDL_Surface* surface) {
  using FlipFunction = int (*)(SDL_Surface*);
  static FlipFunction realFlip = reinterpret_cast<FlipFunction>(dlsym(RTLD_NEXT, "SDL_Flip"));
  static FILE* log = [] {
    const char* path = getenv("QUILBRACK_FLIP_LOG");
    FILE* file = path != nullptr ? std::fopen(path, "w") : nullptr;
    if (file != nullptr) setvbuf(file, nullptr, _IOLBF, 0);
    return file;
  }();
  const int result = realFlip(surface);
  if (log != nullptr) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(log, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
  }
  return result;
}
