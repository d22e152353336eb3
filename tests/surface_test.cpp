// Surface helpers on real SDL surfaces (dummy video driver).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "picture/surface.h"
#include "support/plain_scale.h"
#include "support/sdl_display.h"

namespace {

// A word per pixel that no two pixels share, with alpha bytes of 0 and 255 both present.
Uint32 wordFor(int32_t x, int32_t y) {
  const Uint32 mixed = static_cast<Uint32>(x) * 0x9e3779b1u ^ static_cast<Uint32>(y) * 0x85ebca6bu;
  return (mixed & 0x00ffffffu) | ((x + y) % 2 == 0 ? 0u : 0xff000000u);
}

SDL_Surface* makeWordSurface(int32_t width, int32_t height) {
  SDL_Surface* surface =
      SDL_CreateRGBSurface(0, width, height, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) putPixel(surface, x, y, wordFor(x, y));
  }
  return surface;
}

// Which source column (or row) each destination column (row) of a scaled word surface came
// from, read back through the words themselves.
std::vector<int32_t> sourceColumns(SDL_Surface* scaled, int32_t sourceWidth) {
  std::vector<int32_t> columns;
  for (int32_t x = 0; x < scaled->w; ++x) {
    const Uint32 word = getPixel(scaled, x, 0);
    int32_t found = -1;
    for (int32_t sx = 0; sx < sourceWidth && found < 0; ++sx) {
      if (wordFor(sx, 0) == word) found = sx;
    }
    columns.push_back(found);
  }
  return columns;
}

std::vector<int32_t> sourceRows(SDL_Surface* scaled, int32_t sourceHeight) {
  std::vector<int32_t> rows;
  for (int32_t y = 0; y < scaled->h; ++y) {
    const Uint32 word = getPixel(scaled, 0, y);
    int32_t found = -1;
    for (int32_t sy = 0; sy < sourceHeight && found < 0; ++sy) {
      if (wordFor(0, sy) == word) found = sy;
    }
    rows.push_back(found);
  }
  return rows;
}

int countBelowIntegerRule(const std::vector<int32_t>& indices, int32_t source, int32_t target) {
  int below = 0;
  for (int32_t i = 0; i < static_cast<int32_t>(indices.size()); ++i) {
    const int32_t integer = i * source / target;
    EXPECT_TRUE(indices[i] == integer || indices[i] == integer - 1) << "index " << i;
    if (indices[i] == integer - 1) ++below;
  }
  return below;
}

TEST(ScaleSurface, SourceIndicesOfKnownSizes) {
  struct Case {
    int32_t width, height;
    int columnsBelow, rowsBelow;  // indices one below i * source / target
    std::vector<std::pair<int32_t, int32_t>> columnChecks, rowChecks;  // (destination, source)
  };
  const Case cases[] = {
      {320, 240, 0, 0, {{0, 0}, {1, 0}, {2, 1}, {639, 319}}, {{1, 0}, {479, 239}}},
      {1152, 864, 127, 95, {{5, 8}, {639, 1150}}, {{5, 8}, {479, 862}}},
      {1024, 768, 0, 0, {{5, 8}, {639, 1022}}, {{5, 8}, {479, 766}}},
      {640, 400, 0, -1, {{5, 5}, {639, 639}}, {{6, 4}, {479, 399}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    SDL_Surface* scaled = scaleSurface(makeWordSurface(c.width, c.height), 640, 480);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->w, 640);
    EXPECT_EQ(scaled->h, 480);
    EXPECT_EQ(scaled->format->Amask, screen->format->Amask);
    const std::vector<int32_t> columns = sourceColumns(scaled, c.width);
    const std::vector<int32_t> rows = sourceRows(scaled, c.height);
    EXPECT_EQ(countBelowIntegerRule(columns, c.width, 640), c.columnsBelow);
    if (c.rowsBelow >= 0) {
      EXPECT_EQ(countBelowIntegerRule(rows, c.height, 480), c.rowsBelow);
    }
    for (auto [destination, source] : c.columnChecks) EXPECT_EQ(columns[destination], source);
    for (auto [destination, source] : c.rowChecks) EXPECT_EQ(rows[destination], source);
    // Every word lands bit for bit, alpha byte 0 included.
    for (int32_t y = 0; y < 480; y += 7) {
      for (int32_t x = 0; x < 640; x += 5) {
        ASSERT_EQ(getPixel(scaled, x, y), wordFor(columns[x], rows[y])) << x << "," << y;
      }
    }
    SDL_FreeSurface(scaled);
  }
}

TEST(ScaleSurface, SameWordsAsThePlainRuleForManySizes) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> side(1, 2000);
  for (int i = 0; i < 24; ++i) {
    const int32_t width = i == 0 ? 1 : side(random);
    const int32_t height = i == 1 ? 1 : side(random);
    SDL_Surface* source = makeWordSurface(width, height);
    SDL_Surface* expected = plainScale(source);
    SDL_Surface* scaled = scaleSurface(source, 640, 480);
    ASSERT_NE(scaled, nullptr);
    for (int32_t y = 0; y < 480; ++y) {
      ASSERT_EQ(std::memcmp(static_cast<Uint8*>(scaled->pixels) + y * scaled->pitch,
                            static_cast<Uint8*>(expected->pixels) + y * expected->pitch, 640 * 4),
                0)
          << width << "x" << height << " row " << y;
    }
    SDL_FreeSurface(expected);
    SDL_FreeSurface(scaled);
  }
}

TEST(ScaleSurface, RefusesWhatItCannotScale) {
  SDL_Surface* paletted = SDL_CreateRGBSurface(0, 100, 100, 8, 0, 0, 0, 0);
  EXPECT_EQ(scaleSurface(paletted, 640, 480), nullptr);
  EXPECT_EQ(scaleSurface(nullptr, 640, 480), nullptr);
}

TEST(PixelAccess, RowsFollowThePitch) {
  // Rows padded to 8 words although the surface is 5 pixels wide.
  std::vector<Uint32> memory(8 * 3, 0);
  SDL_Surface* padded = SDL_CreateRGBSurfaceFrom(memory.data(), 5, 3, 32, 8 * 4, 0x00ff0000,
                                                 0x0000ff00, 0x000000ff, 0xff000000);
  putPixel(padded, 4, 2, 0xdeadbeef);
  EXPECT_EQ(memory[2 * 8 + 4], 0xdeadbeefu);
  EXPECT_EQ(getPixel(padded, 4, 2), 0xdeadbeefu);
  SDL_FreeSurface(padded);
}

TEST(MakeRect, KeepsTheLowSixteenBitsAndReturnsItsArgument) {
  SDL_Rect rect;
  EXPECT_EQ(makeRect(&rect, 1, 34, 256, 16), &rect);
  EXPECT_EQ(rect.x, 1);
  EXPECT_EQ(rect.y, 34);
  EXPECT_EQ(rect.w, 256);
  EXPECT_EQ(rect.h, 16);
  makeRect(&rect, 0x10005, -1, 0x10000 + 640, 480);
  EXPECT_EQ(rect.x, 5);
  EXPECT_EQ(rect.y, -1);
  EXPECT_EQ(rect.w, 640);
}

TEST(BlitAt, NullSourceRectangleCopiesTheWholeSourceAtThePosition) {
  SDL_Surface* picture = makeOriginPicture(20, 10);
  fillScreen(mapColor(0, 0, 0, 255));
  blitAt(screen, picture, 100, 50, nullptr);
  EXPECT_EQ(pixelOrigin(screen->format, getPixel(screen, 100, 50)), (Origin{0, 0}));
  EXPECT_EQ(pixelOrigin(screen->format, getPixel(screen, 119, 59)), (Origin{19, 9}));
  EXPECT_EQ(getPixel(screen, 120, 50), mapColor(0, 0, 0, 255));
  EXPECT_EQ(getPixel(screen, 99, 50), mapColor(0, 0, 0, 255));
  SDL_FreeSurface(picture);
}

TEST(LoadPicture, ReturnsNullForWhatIsNotAnImage) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "/notes.png", "this is plain text, not a picture\n");
  writeFile(folder + "/empty.png", "");
  for (const std::string& path :
       {folder + "/missing.png", folder + "/notes.png", folder + "/empty.png", folder}) {
    EXPECT_EQ(loadPicture(path.c_str()), nullptr) << path;
  }
}

TEST(LoadPicture, GivesTheDisplayFormatWithAlpha) {
  const std::string path = makeTempFolder() + "/origin.png";
  writeOriginPng(path, 300, 200);
  SDL_Surface* picture = loadPicture(path.c_str());
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->w, 300);
  EXPECT_EQ(picture->format->BitsPerPixel, 32);
  EXPECT_NE(picture->format->Amask, 0u);
  EXPECT_EQ(pixelOrigin(picture->format, getPixel(picture, 299, 199)), (Origin{299, 199}));
  SDL_FreeSurface(picture);
}

}  // namespace
