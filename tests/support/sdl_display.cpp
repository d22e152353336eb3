#include "support/sdl_display.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "picture/surface.h"

bool openTestDisplay() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
    return false;
  }
  screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, SDL_DOUBLEBUF);
  if (screen == nullptr) std::fprintf(stderr, "SDL_SetVideoMode: %s\n", SDL_GetError());
  return screen != nullptr;
}

Uint32 originPixel(const SDL_PixelFormat* format, int32_t x, int32_t y) {
  const Uint8 high = static_cast<Uint8>(((x >> 8) << 4) | (y >> 8));
  return SDL_MapRGBA(const_cast<SDL_PixelFormat*>(format), static_cast<Uint8>(x & 0xff),
                     static_cast<Uint8>(y & 0xff), high, 255);
}

Origin pixelOrigin(const SDL_PixelFormat* format, Uint32 pixel) {
  Uint8 r = 0, g = 0, b = 0;
  SDL_GetRGB(pixel, const_cast<SDL_PixelFormat*>(format), &r, &g, &b);
  return Origin{r | ((b >> 4) << 8), g | ((b & 0x0f) << 8)};
}

SDL_Surface* makeOriginPicture(int32_t width, int32_t height) {
  SDL_Surface* plain =
      SDL_CreateRGBSurface(0, width, height, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000);
  SDL_Surface* picture = SDL_DisplayFormatAlpha(plain);
  SDL_FreeSurface(plain);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) putPixel(picture, x, y, originPixel(picture->format, x, y));
  }
  return picture;
}

namespace {
// Every folder made for a test is removed when the test program ends.
std::vector<std::string>& madeFolders() {
  static std::vector<std::string> folders;
  return folders;
}
void removeMadeFolders() {
  for (const std::string& folder : madeFolders()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
}
}  // namespace

std::string makeTempFolder() {
  std::string pattern = "/tmp/quilbrack-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
  if (madeFolders().empty()) std::atexit(removeMadeFolders);
  madeFolders().push_back(pattern);
  return pattern;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

void writeOriginPng(const std::string& path, int32_t width, int32_t height) {
  std::vector<Uint8> bytes;
  bytes.reserve(static_cast<size_t>(width) * height * 4);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      bytes.push_back(static_cast<Uint8>(x & 0xff));
      bytes.push_back(static_cast<Uint8>(y & 0xff));
      bytes.push_back(static_cast<Uint8>(((x >> 8) << 4) | (y >> 8)));
      bytes.push_back(255);
    }
  }
  ASSERT_NE(stbi_write_png(path.c_str(), width, height, 4, bytes.data(), width * 4), 0) << path;
}
