// Whatever file the player picks, the game plays it or shows the no-picture screen and
// asks again, quickly, printing nothing. The inputs are made here, by the test itself.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>

#include <SDL_image.h>

#include "picture/gif_picture.h"
#include "picture/picture_file.h"
#include "picture/surface.h"
#include "support/fake_dialog.h"
#include "support/frame_harness.h"
#include "support/run_program.h"
#include "support/sdl_display.h"

namespace {

namespace fs = std::filesystem;

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Converts the test's source picture with ImageMagick; the options pick the format variant.
std::string convert(const std::string& folder, const std::vector<std::string>& options,
                    const std::string& output) {
  ProgramOptions run;
  run.folder = folder;
  run.arguments = {"source.png"};
  run.arguments.insert(run.arguments.end(), options.begin(), options.end());
  run.arguments.push_back(output);
  const ProgramRun result = runProgram("/usr/bin/convert", run);
  EXPECT_EQ(result.status, 0) << output << ": " << result.output;
  const size_t colon = output.find(':');
  return folder + "/" + (colon == std::string::npos ? output : output.substr(colon + 1));
}

uint32_t crc32(const std::string& bytes) {
  uint32_t crc = 0xffffffffu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string bigEndian32(uint32_t value) {
  return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

// A tiny PNG whose header claims width x height: a decompression bomb.
std::string pngClaiming(const std::string& folder, uint32_t width, uint32_t height) {
  const std::string path =
      folder + "/bomb-" + std::to_string(width) + "x" + std::to_string(height) + ".png";
  std::string png = readAll(folder + "/tiny.png");
  // The IHDR chunk: length at 8, type at 12, width at 16, height at 20, CRC at 29.
  png.replace(16, 4, bigEndian32(width));
  png.replace(20, 4, bigEndian32(height));
  png.replace(29, 4, bigEndian32(crc32(png.substr(12, 17))));
  writeFile(path, png);
  return path;
}

// A GIF with a small logical screen whose first image claims 60000 x 60000 pixels.
std::string gifWithHugeImage(const std::string& folder) {
  std::string gif = "GIF89a";
  gif += std::string("\x0a\x00\x0a\x00\x00\x00\x00", 7);               // 10 x 10, no colour table
  gif += std::string("\x2c\x00\x00\x00\x00\x60\xea\x60\xea\x00", 10);  // image 60000 x 60000
  gif += std::string("\x02\x02\x4c\x01\x00\x3b", 6);                   // a little LZW, trailer
  const std::string path = folder + "/huge-frame.gif";
  writeFile(path, gif);
  return path;
}

std::string truncated(const std::string& path, const std::string& name) {
  const std::string bytes = readAll(path);
  const std::string cut = fs::path(path).parent_path().string() + "/" + name;
  writeFile(cut, bytes.substr(0, bytes.size() / 2));
  return cut;
}

// A folder path of about length bytes, made of 200-byte names, holding a copy of picture.
std::string longPath(const std::string& folder, const std::string& picture, size_t length) {
  std::string path = folder;
  while (path.size() + 220 < length) {
    path += "/" + std::string(200, 'd');
    mkdir(path.c_str(), 0755);
  }
  path += "/" + std::string(length - path.size() - 5, 'p') + ".png";
  fs::copy_file(picture, path);
  return path;
}

enum class Outcome { Played, Refused };

struct Input {
  std::string name;
  std::function<std::string(const std::string& folder)> make;
  Outcome expected;
};

class HostileInputs : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new std::string(makeTempFolder());
    writeOriginPng(*folder + "/source.png", 200, 150);
    writeOriginPng(*folder + "/tiny.png", 1, 1);
  }
  static std::string* folder;
};
std::string* HostileInputs::folder = nullptr;

// Runs the game from the dialog's answer to play (or to the no-picture screen) with
// standard output and error captured; returns what was printed.
struct Result {
  Outcome outcome;
  std::string printed;
  double milliseconds;
};

Result chooseAndPlay(const std::string& path, FrameHarness& harness) {
  FakeDialog dialog;
  dialog.answer("zenity", path + "\n", 0);
  const std::string capture = makeTempFolder() + "/printed.txt";
  std::fflush(stdout);
  std::fflush(stderr);
  const int savedOut = dup(1);
  const int savedErr = dup(2);
  const int into = open(capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(into, 1);
  dup2(into, 2);
  const auto start = std::chrono::steady_clock::now();
  harness.frame();
  const auto loaded = std::chrono::steady_clock::now();
  for (int frame = 0; frame < 6 && harness.game.state != StatePlay; ++frame) harness.frame();
  std::fflush(stdout);
  std::fflush(stderr);
  dup2(savedOut, 1);
  dup2(savedErr, 2);
  close(savedOut);
  close(savedErr);
  close(into);
  const Outcome outcome = harness.game.state == StatePlay ? Outcome::Played : Outcome::Refused;
  return {outcome, readAll(capture),
          std::chrono::duration<double, std::milli>(loaded - start).count()};
}

TEST_F(HostileInputs, EachIsPlayedOrRefusedQuietly) {
  const std::string& f = *folder;
  const Input inputs[] = {
      {"empty file",
       [](const std::string& d) {
         writeFile(d + "/empty.png", "");
         return d + "/empty.png";
       },
       Outcome::Refused},
      {"text named .png",
       [](const std::string& d) {
         writeFile(d + "/text.png", "Just some words.\n");
         return d + "/text.png";
       },
       Outcome::Refused},
      {"truncated PNG",
       [](const std::string& d) { return truncated(d + "/source.png", "cut.png"); },
       Outcome::Refused},
      {"truncated JPEG",
       [](const std::string& d) {
         return truncated(convert(d, {"-quality", "90"}, "whole.jpg"), "cut.jpg");
       },
       Outcome::Played},
      {"truncated GIF",
       [](const std::string& d) { return truncated(convert(d, {}, "whole.gif"), "cut.gif"); },
       Outcome::Refused},
      {"folder", [](const std::string& d) { return d; }, Outcome::Refused},
      {"named pipe",
       [](const std::string& d) {
         mkfifo((d + "/pipe.png").c_str(), 0644);
         return d + "/pipe.png";
       },
       Outcome::Refused},
      {"character device", [](const std::string&) { return std::string("/dev/zero"); },
       Outcome::Refused},
      {"missing file", [](const std::string& d) { return d + "/nothing-here.png"; },
       Outcome::Refused},
      {"1 x 1", [](const std::string& d) { return d + "/tiny.png"; }, Outcome::Played},
      {"1 x 5000",
       [](const std::string& d) {
         writeOriginPng(d + "/tall.png", 1, 5000);
         return d + "/tall.png";
       },
       Outcome::Played},
      {"5000 x 1",
       [](const std::string& d) {
         writeOriginPng(d + "/wide.png", 5000, 1);
         return d + "/wide.png";
       },
       Outcome::Played},
      {"paletted PNG", [](const std::string& d) { return convert(d, {}, "PNG8:palette.png"); },
       Outcome::Played},
      {"grey PNG",
       [](const std::string& d) {
         return convert(d, {"-colorspace", "Gray"}, "grey.png");
       },
       Outcome::Played},
      {"16-bit PNG", [](const std::string& d) { return convert(d, {}, "PNG48:deep.png"); },
       Outcome::Played},
      {"PNG with alpha",
       [](const std::string& d) {
         return convert(d, {"-alpha", "set", "-channel", "A", "-evaluate", "set", "50%"},
                        "PNG32:alpha.png");
       },
       Outcome::Played},
      {"progressive JPEG",
       [](const std::string& d) {
         return convert(d, {"-interlace", "Plane"}, "progressive.jpg");
       },
       Outcome::Played},
      {"CMYK JPEG",
       [](const std::string& d) {
         return convert(d, {"-colorspace", "CMYK"}, "cmyk.jpg");
       },
       Outcome::Played},
      {"GIF", [](const std::string& d) { return convert(d, {}, "picture.gif"); }, Outcome::Played},
      {"interlaced GIF with a transparent colour",
       [](const std::string& d) {
         return convert(d, {"-interlace", "GIF", "-transparent", "black"}, "interlaced.gif");
       },
       Outcome::Played},
      {"BMP", [](const std::string& d) { return convert(d, {}, "picture.bmp"); }, Outcome::Played},
      {"TGA", [](const std::string& d) { return convert(d, {}, "picture.tga"); }, Outcome::Played},
      {"TIFF", [](const std::string& d) { return convert(d, {}, "picture.tif"); }, Outcome::Played},
      {"WebP", [](const std::string& d) { return convert(d, {}, "picture.webp"); },
       Outcome::Played},
      // PCX and XPM go to the loader's own decoders, which crash on broken files: the game
      // never decodes them.
      {"PCX",
       [](const std::string& d) {
         return convert(d, {"-type", "Palette"}, "picture.pcx");
       },
       Outcome::Refused},
      {"XPM",
       [](const std::string& d) {
         return convert(d, {"-colors", "16"}, "picture.xpm");
       },
       Outcome::Refused},
      {"PNM", [](const std::string& d) { return convert(d, {}, "picture.ppm"); }, Outcome::Played},
      {"PNG claiming 30000 x 30000",
       [](const std::string& d) { return pngClaiming(d, 30000, 30000); }, Outcome::Refused},
      {"GIF frame claiming 60000 x 60000", gifWithHugeImage, Outcome::Refused},
      {"path with spaces",
       [](const std::string& d) {
         fs::copy_file(d + "/tiny.png", d + "/a picture with spaces.png");
         return d + "/a picture with spaces.png";
       },
       Outcome::Played},
      {"path with UTF-8 letters",
       [](const std::string& d) {
         const std::string path = d + "/obrazek \xc5\xbc\xc3\xb3\xc5\x82w \xe2\x98\x83.png";
         fs::copy_file(d + "/source.png", path);
         return path;
       },
       Outcome::Played},
      {"name with a leading dash",
       [](const std::string& d) {
         fs::copy_file(d + "/source.png", d + "/-picture.png");
         return d + "/-picture.png";
       },
       Outcome::Played},
      {"1000-byte path",
       [](const std::string& d) {
         return longPath(d + "/" + std::string(10, 'a'), d + "/source.png", 1000);
       },
       Outcome::Played},
      {"4000-byte path",
       [](const std::string& d) {
         return longPath(d + "/" + std::string(10, 'b'), d + "/source.png", 4000);
       },
       Outcome::Played},
  };
  for (const Input& input : inputs) {
    mkdir((f + "/" + std::string(10, 'a')).c_str(), 0755);
    mkdir((f + "/" + std::string(10, 'b')).c_str(), 0755);
    const std::string path = input.make(f);
    FrameHarness harness;
    const Result result = chooseAndPlay(path, harness);
    std::cout << "  " << input.name << ": "
              << (result.outcome == Outcome::Played ? "played" : "no-picture screen") << ", "
              << result.milliseconds << " ms to load\n";
    EXPECT_EQ(result.outcome, input.expected) << input.name;
    EXPECT_EQ(result.printed, "") << input.name;
    EXPECT_LT(result.milliseconds, 5000) << input.name << ": must never hang";
    if (result.outcome == Outcome::Played) {
      EXPECT_EQ(harness.game.picture->w, 640);
      EXPECT_EQ(harness.game.picture->h, 480);
    } else {
      EXPECT_EQ(harness.game.state, StateNoPicture) << input.name;
      EXPECT_EQ(harness.game.picture, nullptr);
    }
  }
}

TEST_F(HostileInputs, OneByOneFillsTheWholePicture) {
  const std::string path = *folder + "/tiny.png";
  FrameHarness harness;
  chooseAndPlay(path, harness);
  ASSERT_EQ(harness.game.state, StatePlay);
  const Uint32 only = getPixel(harness.game.picture, 0, 0);
  for (int32_t y = 0; y < 480; y += 11) {
    for (int32_t x = 0; x < 640; x += 13) ASSERT_EQ(getPixel(harness.game.picture, x, y), only);
  }
}

// On a sound GIF the game's decoder gives what the image loader gives, word for word once
// in the display's format: colours, transparency and interlaced row order.
TEST_F(HostileInputs, GifDecodesLikeTheImageLoader) {
  const std::string& d = *folder;
  for (const std::string& path :
       {convert(d, {}, "plain.gif"),
        convert(d, {"-interlace", "GIF", "-transparent", "black"}, "interlaced-clear.gif")}) {
    SDL_Surface* ours = decodeGif(path.c_str());
    SDL_Surface* theirs = IMG_Load(path.c_str());
    ASSERT_NE(ours, nullptr) << path;
    ASSERT_NE(theirs, nullptr) << path;
    SDL_Surface* oursShown = SDL_DisplayFormatAlpha(ours);
    SDL_Surface* theirsShown = SDL_DisplayFormatAlpha(theirs);
    ASSERT_EQ(oursShown->w, theirsShown->w);
    ASSERT_EQ(oursShown->h, theirsShown->h);
    int differing = 0;
    for (int32_t y = 0; y < oursShown->h; ++y) {
      for (int32_t x = 0; x < oursShown->w; ++x) {
        differing += getPixel(oursShown, x, y) != getPixel(theirsShown, x, y) ? 1 : 0;
      }
    }
    EXPECT_EQ(differing, 0) << path;
    for (SDL_Surface* surface : {ours, theirs, oursShown, theirsShown}) SDL_FreeSurface(surface);
  }
}

TEST(PictureSize, HeadersAreReadWithoutDecoding) {
  const std::string folder = makeTempFolder();
  writeOriginPng(folder + "/tiny.png", 1, 1);
  struct Case {
    std::string path;
    std::optional<PictureSize> size;
    bool decodable;
  };
  const Case cases[] = {
      {pngClaiming(folder, 30000, 30000), PictureSize{30000, 30000}, false},
      {pngClaiming(folder, 10000, 10000), PictureSize{10000, 10000}, true},
      {pngClaiming(folder, 10000, 10001), PictureSize{10000, 10001}, false},
      {pngClaiming(folder, 100000, 1000), PictureSize{100000, 1000}, true},
      {pngClaiming(folder, 0, 10), PictureSize{0, 10}, false},
      {gifWithHugeImage(folder), PictureSize{60000, 60000}, false},
  };
  for (const Case& c : cases) {
    const std::optional<PictureSize> size = readPictureSize(c.path.c_str());
    ASSERT_EQ(size.has_value(), c.size.has_value()) << c.path;
    if (size) {
      EXPECT_EQ(size->width, c.size->width) << c.path;
      EXPECT_EQ(size->height, c.size->height) << c.path;
    }
    EXPECT_EQ(isDecodablePicture(c.path.c_str()), c.decodable) << c.path;
  }
}

}  // namespace
