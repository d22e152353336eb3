// Draws the game's image assets: the banner sheet "err.png", the window icon "icon.png"
// and the bundled sample picture "sample.png". Everything is computed here, so running
// the tool again gives the same bytes.
//
//   make_assets OUTPUT_FOLDER
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Rgba {
  uint8_t r, g, b, a;
};

struct Image {
  int width;
  int height;
  std::vector<Rgba> pixels;

  Image(int w, int h, Rgba fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  Rgba& at(int x, int y) { return pixels[size_t(y) * width + x]; }
  void set(int x, int y, Rgba c) {
    if (x >= 0 && y >= 0 && x < width && y < height) at(x, y) = c;
  }
};

// A 5 x 7 capital font: one string per glyph, seven rows of five columns.
struct Glyph {
  char letter;
  const char* rows[7];
};

constexpr Glyph kFont[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'Y', {"#...#", "#...#", "#...#", ".#.#.", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
};

const Glyph* findGlyph(char letter) {
  for (const Glyph& glyph : kFont) {
    if (glyph.letter == letter) return &glyph;
  }
  return nullptr;  // a space
}

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

int textWidth(const std::string& text, int scale) {
  return static_cast<int>(text.size()) * (kGlyphWidth + 1) * scale - scale;
}

// Draws text with its top-left corner at (left, top), each font pixel scale x scale.
void drawText(Image& image, const std::string& text, int left, int top, int scale, Rgba colour) {
  for (size_t i = 0; i < text.size(); ++i) {
    const Glyph* glyph = findGlyph(text[i]);
    if (glyph == nullptr) continue;
    const int glyphLeft = left + static_cast<int>(i) * (kGlyphWidth + 1) * scale;
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int column = 0; column < kGlyphWidth; ++column) {
        if (glyph->rows[row][column] != '#') continue;
        for (int dy = 0; dy < scale; ++dy) {
          for (int dx = 0; dx < scale; ++dx) {
            image.set(glyphLeft + column * scale + dx, top + row * scale + dy, colour);
          }
        }
      }
    }
  }
}

// Text with a dark outline, readable on any background.
void drawOutlinedText(Image& image, const std::string& text, int left, int top, int scale,
                      Rgba colour, int outline) {
  const Rgba dark{0, 0, 0, 255};
  for (int dy = -outline; dy <= outline; ++dy) {
    for (int dx = -outline; dx <= outline; ++dx) {
      if (dx != 0 || dy != 0) drawText(image, text, left + dx, top + dy, scale, dark);
    }
  }
  drawText(image, text, left, top, scale, colour);
}

// One strip of the banner sheet: a dark band with rounded corners behind the text,
// transparent around it.
void drawStripAt(Image& sheet, int top, const std::string& text, Rgba colour) {
  constexpr int kStripWidth = 256;
  constexpr int kStripHeight = 16;
  constexpr int kScale = 2;
  const int width = textWidth(text, kScale);
  const int bandLeft = (kStripWidth - width) / 2 - 4;
  const int bandRight = kStripWidth - bandLeft - 1;
  for (int y = 0; y < kStripHeight; ++y) {
    for (int x = bandLeft; x <= bandRight; ++x) {
      const bool corner = (y == 0 || y == kStripHeight - 1) && (x == bandLeft || x == bandRight);
      if (!corner) sheet.set(x, top + y, Rgba{16, 16, 24, 220});
    }
  }
  drawText(sheet, text, (kStripWidth - width) / 2, top + 1, kScale, colour);
}

Image makeBannerSheet() {
  Image sheet(256, 50, Rgba{0, 0, 0, 0});
  drawStripAt(sheet, 0, "NIE WCZYTANO OBRAZKA", Rgba{255, 200, 90, 255});
  drawStripAt(sheet, 34, "UKLADANKA ULOZONA!", Rgba{150, 255, 150, 255});
  return sheet;
}

Rgba hueColour(double hue, double value) {
  const double h = std::fmod(hue, 360.0) / 60.0;
  const double f = h - std::floor(h);
  const double rising = value * f;
  const double falling = value * (1.0 - f);
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
    case 0:
      r = value, g = rising;
      break;
    case 1:
      r = falling, g = value;
      break;
    case 2:
      g = value, b = rising;
      break;
    case 3:
      g = falling, b = value;
      break;
    case 4:
      r = rising, b = value;
      break;
    default:
      r = value, b = falling;
      break;
  }
  auto byte = [](double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5); };
  return Rgba{byte(r), byte(g), byte(b), 255};
}

// A 4 x 4 board with the blank in the corner and the tile beside it half-way in.
Image makeIcon() {
  Image icon(32, 32, Rgba{24, 24, 32, 255});
  for (int piece = 0; piece < 15; ++piece) {
    const int shift = piece == 14 ? 4 : 0;
    const int left = (piece % 4) * 8 + 1 + shift;
    const int top = (piece / 4) * 8 + 1;
    const Rgba colour = hueColour(piece * 24.0, 0.95);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 6; ++x) {
        const bool edge = x == 0 || y == 0;
        icon.set(left + x, top + y, edge ? Rgba{255, 255, 255, 255} : colour);
      }
    }
  }
  return icon;
}

// The bundled picture: a rainbow field with rings about the centre, a sun, hills, and
// each cell's own number, so every tile can be told apart and placed.
Image makeSamplePicture() {
  constexpr int kWidth = 640;
  constexpr int kHeight = 480;
  Image picture(kWidth, kHeight, Rgba{0, 0, 0, 255});
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double dx = x - kWidth / 2.0;
      const double dy = y - kHeight / 2.0;
      const double ring = 0.75 + 0.25 * std::cos(std::sqrt(dx * dx + dy * dy) / 9.0);
      Rgba colour = hueColour(x * 360.0 / kWidth + y * 90.0 / kHeight, ring);
      const double hill = 360 + 40 * std::sin(x / 70.0) + 20 * std::sin(x / 23.0);
      if (y > hill)
        colour = hueColour(110 + (y - hill) * 0.3, 0.35 + 0.2 * ((x / 16 + y / 16) % 2));
      const double sunX = x - 500.0;
      const double sunY = y - 90.0;
      if (sunX * sunX + sunY * sunY < 55.0 * 55.0) colour = Rgba{255, 230, 90, 255};
      picture.at(x, y) = colour;
    }
  }
  for (int cell = 0; cell < 16; ++cell) {
    const std::string number = std::to_string(cell + 1);
    constexpr int kScale = 7;
    const int left = (cell % 4) * 160 + (160 - textWidth(number, kScale)) / 2;
    const int top = (cell / 4) * 120 + (120 - kGlyphHeight * kScale) / 2;
    drawOutlinedText(picture, number, left, top, kScale, Rgba{255, 255, 255, 255}, 3);
  }
  return picture;
}

bool save(const Image& image, const std::string& path) {
  const int ok = stbi_write_png(path.c_str(), image.width, image.height, 4, image.pixels.data(),
                                image.width * 4);
  if (ok == 0) std::fprintf(stderr, "make_assets: cannot write %s\n", path.c_str());
  return ok != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_assets OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const bool ok = save(makeBannerSheet(), folder + "/err.png") &&
                  save(makeIcon(), folder + "/icon.png") &&
                  save(makeSamplePicture(), folder + "/sample.png");
  return ok ? 0 : 1;
}
