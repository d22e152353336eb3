// A real SDL display on the dummy video driver, opened once per test program, with the
// game's screen mode; and small helpers to make surfaces and files for tests.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

// Opens the display (dummy driver, 640 x 480 x 32, double-buffered) and sets `screen`.
// Call from main() before the tests run; false when SDL refused.
bool openTestDisplay();

// A 640 x 480-style picture in the display's alpha format whose every pixel tells where
// it came from: see pixelOrigin.
SDL_Surface* makeOriginPicture(int32_t width, int32_t height);

// The (x, y) that a pixel value of makeOriginPicture encodes, read in format.
struct Origin {
  int32_t x;
  int32_t y;
  bool operator==(const Origin&) const = default;
};
Origin pixelOrigin(const SDL_PixelFormat* format, Uint32 pixel);
Uint32 originPixel(const SDL_PixelFormat* format, int32_t x, int32_t y);

// A fresh empty folder under the system's temporary folder.
std::string makeTempFolder();
void writeFile(const std::string& path, const std::string& bytes);
// Writes a PNG whose pixel (x, y) is the origin colour of (x, y): see pixelOrigin.
void writeOriginPng(const std::string& path, int32_t width, int32_t height);
