// GIF pictures, read with giflib. The image loader's own GIF decoder crashes on broken LZW
// data and reads a file that ends early for ever, so GIF never goes to it.
#pragma once

#include <SDL.h>

#include <optional>

#include "picture/picture_file.h"

// The larger of the logical screen and the first image, on each axis; read from the
// descriptors without decoding. Nothing when the file has no readable first image.
std::optional<PictureSize> readGifSize(const char* path);

// The first image as an 8-bit surface with the file's colours and its transparent colour as
// the colour key, as the image loader would give it; null when it cannot be decoded.
SDL_Surface* decodeGif(const char* path);
