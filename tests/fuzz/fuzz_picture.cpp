// libFuzzer target: bytes, as a file the player picked, through the game's own path to a
// fitted picture (header checks, decoding, conversion to the display format, scaling).
#include <SDL.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "picture/surface.h"

namespace {
std::string picturePath;
std::string targaPath;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO) < 0) abort();
  screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, SDL_DOUBLEBUF);
  if (screen == nullptr) abort();
  const std::string stem = "/tmp/quilbrack-fuzz-" + std::to_string(getpid());
  picturePath = stem + ".img";
  targaPath = stem + ".tga";  // TGA has no signature: the loader goes by the extension
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = size > 0 && data[0] % 4 == 0 ? targaPath : picturePath;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  SDL_Surface* picture = loadPicture(path.c_str());
  if (picture != nullptr && (picture->w != kScreenWidth || picture->h != kScreenHeight)) {
    picture = scaleSurface(picture, kScreenWidth, kScreenHeight);
  }
  if (picture != nullptr) SDL_FreeSurface(picture);
  return 0;
}
