// Loads and fits one picture the way the game does, and prints how long each step took.
// Run it under /usr/bin/time -v for the peak memory.
//
//   measure_load PICTURE                  load and fit PICTURE
//   measure_load --make png|jpg W H PATH  write a W x H test picture (a colour field with
//                                         noise, so it does not compress to nothing)
#include <SDL.h>
#include <stdlib.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "picture/surface.h"

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

int makePicture(const char* kind, int width, int height, const char* path) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
  uint32_t noise = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
      p[0] = static_cast<uint8_t>(x * 255 / width + (noise >> 28));
      p[1] = static_cast<uint8_t>(y * 255 / height + (noise >> 29));
      p[2] = static_cast<uint8_t>((x + y) & 0xff);
    }
  }
  stbi_write_png_compression_level = 3;
  const int ok = std::strcmp(kind, "png") == 0
                     ? stbi_write_png(path, width, height, 3, pixels.data(), width * 3)
                     : stbi_write_jpg(path, width, height, 3, pixels.data(), 90);
  return ok != 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "--make") == 0) {
    return makePicture(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: measure_load PICTURE | --make png|jpg W H PATH\n");
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  if (SDL_Init(SDL_INIT_VIDEO) < 0) return 1;
  screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, SDL_DOUBLEBUF);
  if (screen == nullptr) return 1;
  const auto start = std::chrono::steady_clock::now();
  SDL_Surface* picture = loadPicture(argv[1]);
  const double loadMs = millisecondsSince(start);
  if (picture == nullptr) {
    std::printf("%s: refused or not loaded after %.1f ms\n", argv[1], loadMs);
    return 3;
  }
  const int width = picture->w;
  const int height = picture->h;
  const auto fitStart = std::chrono::steady_clock::now();
  SDL_Surface* fitted = scaleSurface(picture, kScreenWidth, kScreenHeight);
  const double fitMs = millisecondsSince(fitStart);
  std::printf("%s: %dx%d loaded in %.1f ms, fitted in %.2f ms\n", argv[1], width, height, loadMs,
              fitMs);
  SDL_FreeSurface(fitted);
  SDL_Quit();
  return 0;
}
