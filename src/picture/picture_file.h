// Checks made on a picture file before it is decoded, so that no file can make the game
// block, read forever or run out of memory: only regular files are opened, and only
// pictures whose header gives a size within kMaxPicturePixels are decoded.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>

// The largest picture decoded: 100 million pixels, 400 MB as a 32-bit surface (loading
// holds the decoded image and its converted copy at once, so about twice that at peak).
// Larger than any photograph a player is likely to have; a decompression bomb's claimed
// size is far above it.
inline constexpr int64_t kMaxPicturePixels = 100'000'000;

struct PictureSize {
  int64_t width;
  int64_t height;
};

// The size that the picture's header states, read without decoding the picture, for the
// file type that the image loader will take it for. Nothing when the file is not a regular
// file, is not one of the types the game plays (PNG, JPEG, GIF, BMP, TGA, TIFF, WebP and
// PNM), or its header cannot be read, or (PNG) a chunk runs past the end of the file.
std::optional<PictureSize> readPictureSize(const char* path);

// A regular file whose header states a size from 1 x 1 up to kMaxPicturePixels.
bool isDecodablePicture(const char* path);

// Decodes the picture when isDecodablePicture would accept it (GIF with giflib, the rest
// with the image loader); null when it is refused or does not decode. The file's type is
// worked out once for both.
SDL_Surface* decodePicture(const char* path);
