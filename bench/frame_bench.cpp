// Benchmarks of the fit, the per-frame drawing and the load of a large picture, each beside
// the references that give its figure a meaning. scripts/bench prints them as ratios.
#include <SDL.h>
#include <SDL_rotozoom.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/game_context.h"
#include "picture/surface.h"
#include "render/peek.h"
#include "render/tiles.h"
#include "support/plain_scale.h"

namespace {

// A source picture kept for the whole run; each fit gets a surface header over its pixels,
// which SDL_FreeSurface releases without touching the pixels.
struct Source {
  int width, height;
  std::vector<Uint32> pixels;
};

Source& sourceOf(int width, int height) {
  static std::vector<Source*> made;
  for (Source* source : made) {
    if (source->width == width && source->height == height) return *source;
  }
  Source* source = new Source{width, height, std::vector<Uint32>(size_t(width) * height)};
  Uint32 value = 1;
  for (Uint32& pixel : source->pixels) pixel = value = value * 1664525u + 1013904223u;
  made.push_back(source);
  return *source;
}

SDL_Surface* surfaceOver(Source& source) {
  return SDL_CreateRGBSurfaceFrom(source.pixels.data(), source.width, source.height, 32,
                                  source.width * 4, 0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000);
}

void BM_Fit(benchmark::State& state) {
  Source& source = sourceOf(int(state.range(0)), int(state.range(1)));
  for (auto _ : state) {
    SDL_Surface* fitted = scaleSurface(surfaceOver(source), 640, 480);
    benchmark::DoNotOptimize(fitted->pixels);
    SDL_FreeSurface(fitted);
  }
}

// The floor: writing the 640 x 480 result, and nothing else.
void BM_FitFloorMemcpy(benchmark::State& state) {
  std::vector<Uint32> from(640 * 480, 7), to(640 * 480);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size() * 4);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

// The other floor, for large sources: reading every source row that the fit takes, whole.
// A row is read a pixel every ratio pixels, and from 16 pixels apart on (a 1024-pixel-wide
// source) that touches every cache line of the row anyway.
void BM_FitFloorSourceRows(benchmark::State& state) {
  Source& source = sourceOf(int(state.range(0)), int(state.range(1)));
  const float ratioY = static_cast<float>(source.height) / 480.0f;
  std::vector<Uint32> row(size_t(source.width));
  for (auto _ : state) {
    int32_t previous = -1;
    for (int32_t y = 0; y < 480; ++y) {
      const int32_t sourceRow = scaledIndex(y, ratioY);
      if (sourceRow == previous) continue;
      std::memcpy(row.data(), &source.pixels[size_t(sourceRow) * source.width], row.size() * 4);
      benchmark::DoNotOptimize(row.data());
      benchmark::ClobberMemory();
      previous = sourceRow;
    }
  }
}

void BM_FitPlainRule(benchmark::State& state) {
  Source& source = sourceOf(int(state.range(0)), int(state.range(1)));
  SDL_Surface* header = surfaceOver(source);
  for (auto _ : state) {
    SDL_Surface* fitted = plainScale(header);
    benchmark::DoNotOptimize(fitted->pixels);
    SDL_FreeSurface(fitted);
  }
  SDL_FreeSurface(header);
}

// SDL_gfx's zoom without smoothing: what an SDL 1.2 program would usually call.
void BM_FitZoomSurface(benchmark::State& state) {
  Source& source = sourceOf(int(state.range(0)), int(state.range(1)));
  SDL_Surface* header = surfaceOver(source);
  const double zoomX = 640.0 / source.width;
  const double zoomY = 480.0 / source.height;
  for (auto _ : state) {
    SDL_Surface* fitted = zoomSurface(header, zoomX, zoomY, SMOOTHING_OFF);
    benchmark::DoNotOptimize(fitted->pixels);
    SDL_FreeSurface(fitted);
  }
  SDL_FreeSurface(header);
}

void sourceSizes(benchmark::internal::Benchmark* b) {
  b->Args({320, 240})->Args({1152, 864})->Args({4000, 3000})->Args({8000, 6000});
  b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_Fit)->Apply(sourceSizes);
BENCHMARK(BM_FitPlainRule)->Apply(sourceSizes);
BENCHMARK(BM_FitFloorSourceRows)->Apply(sourceSizes);
BENCHMARK(BM_FitZoomSurface)->Apply(sourceSizes);
BENCHMARK(BM_FitFloorMemcpy)->Unit(benchmark::kMicrosecond);

// A game in play on a 640 x 480 picture.
GameContext& playingGame() {
  static GameContext game{};
  if (game.picture == nullptr) {
    game.picture = scaleSurface(surfaceOver(sourceOf(1152, 864)), 640, 480);
    game.state = StatePlay;
  }
  return game;
}

// Every tile but the corners half a cell away from home, as in the slide after a deal.
Board slidingBoard() {
  Board board{};
  resetBoard(board);
  for (int32_t slot : {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14}) board[slot].x += 80;
  return board;
}

void BM_FrameSliding(benchmark::State& state) {
  GameContext& game = playingGame();
  const Board board = slidingBoard();
  for (auto _ : state) {
    game.board = board;
    animateBoard(game);
    game.needFlip = false;
  }
}

void BM_FrameAtRest(benchmark::State& state) {
  GameContext& game = playingGame();
  resetBoard(game.board);
  for (auto _ : state) {
    animateBoard(game);
    game.needFlip = false;
  }
}

void BM_FramePeek(benchmark::State& state) {
  GameContext& game = playingGame();
  resetBoard(game.board);
  game.heldButton = 3;
  for (auto _ : state) {
    animateBoard(game);
    handlePeek(game);
    game.needFlip = false;
  }
  game.heldButton = 0;
  game.peekShown = false;
}

// Presenting a frame: the flip the loop makes at the end of a frame that drew something.
void BM_FrameFlip(benchmark::State& state) {
  for (auto _ : state) SDL_Flip(screen);
}

BENCHMARK(BM_FrameSliding)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameAtRest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FramePeek)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameFlip)->Unit(benchmark::kMicrosecond);

// loadPicture and the fit for a large generated picture: a 6000 x 4000 JPEG (a 24-megapixel
// photograph) and a 4000 x 3000 PNG.
std::string largePicture(const char* kind) {
  const bool jpeg = std::strcmp(kind, "jpg") == 0;
  const int width = jpeg ? 6000 : 4000;
  const int height = jpeg ? 4000 : 3000;
  const std::string path = "/tmp/quilbrack-bench-" + std::to_string(getpid()) + "." + kind;
  if (access(path.c_str(), R_OK) == 0) return path;
  std::vector<unsigned char> rgb(size_t(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &rgb[(size_t(y) * width + x) * 3];
      p[0] = static_cast<unsigned char>(x * 255 / width);
      p[1] = static_cast<unsigned char>(y * 255 / height);
      p[2] = static_cast<unsigned char>((x ^ y) & 0xff);
    }
  }
  stbi_write_png_compression_level = 6;
  if (jpeg) {
    stbi_write_jpg(path.c_str(), width, height, 3, rgb.data(), 90);
  } else {
    stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3);
  }
  return path;
}

void BM_LoadAndFit(benchmark::State& state, const char* kind) {
  const std::string path = largePicture(kind);
  for (auto _ : state) {
    SDL_Surface* fitted = scaleSurface(loadPicture(path.c_str()), 640, 480);
    benchmark::DoNotOptimize(fitted);
    SDL_FreeSurface(fitted);
  }
  unlink(path.c_str());
}

BENCHMARK_CAPTURE(BM_LoadAndFit, jpeg_6000x4000, "jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadAndFit, png_4000x3000, "png")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO) < 0) return 1;
  screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, SDL_DOUBLEBUF);
  if (screen == nullptr) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
