#include "picture/gif_picture.h"

#include <gif_lib.h>

#include <algorithm>

namespace {

// Reads one extension; a graphics control block sets the transparent colour.
bool readExtension(GifFileType* gif, int* transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
    GraphicsControlBlock control;
    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
      *transparent = control.TransparentColor;
    }
  }
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

// Opens the file and reads up to the first image's descriptor; null when there is none.
GifFileType* openAtFirstImage(const char* path, int* transparent) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path, &error);
  if (gif == nullptr) return nullptr;
  *transparent = NO_TRANSPARENT_COLOR;
  GifRecordType record = UNDEFINED_RECORD_TYPE;
  while (DGifGetRecordType(gif, &record) == GIF_OK) {
    if (record == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif) == GIF_OK && gif->Image.Width > 0 && gif->Image.Height > 0) {
        return gif;
      }
      break;
    }
    if (record != EXTENSION_RECORD_TYPE || !readExtension(gif, transparent)) break;
  }
  DGifCloseFile(gif, &error);
  return nullptr;
}

// The rows of the image in the order they are stored: interlaced images come in four passes.
bool readRows(GifFileType* gif, SDL_Surface* surface) {
  const int width = gif->Image.Width;
  const int height = gif->Image.Height;
  auto row = [&](int y) {
    return static_cast<GifPixelType*>(surface->pixels) + y * surface->pitch;
  };
  if (!gif->Image.Interlace) {
    for (int y = 0; y < height; ++y) {
      if (DGifGetLine(gif, row(y), width) == GIF_ERROR) return false;
    }
    return true;
  }
  constexpr int kFirstRow[] = {0, 4, 2, 1};
  constexpr int kRowStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kFirstRow[pass]; y < height; y += kRowStep[pass]) {
      if (DGifGetLine(gif, row(y), width) == GIF_ERROR) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<PictureSize> readGifSize(const char* path) {
  int transparent = NO_TRANSPARENT_COLOR;
  GifFileType* gif = openAtFirstImage(path, &transparent);
  if (gif == nullptr) return std::nullopt;
  const PictureSize size{std::max<int64_t>(gif->SWidth, gif->Image.Width),
                         std::max<int64_t>(gif->SHeight, gif->Image.Height)};
  int error = 0;
  DGifCloseFile(gif, &error);
  return size;
}

SDL_Surface* decodeGif(const char* path) {
  int transparent = NO_TRANSPARENT_COLOR;
  GifFileType* gif = openAtFirstImage(path, &transparent);
  if (gif == nullptr) return nullptr;
  const ColorMapObject* colours =
      gif->Image.ColorMap != nullptr ? gif->Image.ColorMap : gif->SColorMap;
  SDL_Surface* surface = nullptr;
  if (colours != nullptr) {
    surface = SDL_CreateRGBSurface(0, gif->Image.Width, gif->Image.Height, 8, 0, 0, 0, 0);
  }
  if (surface != nullptr && !readRows(gif, surface)) {
    SDL_FreeSurface(surface);
    surface = nullptr;
  }
  if (surface != nullptr) {
    SDL_Color palette[256] = {};
    const int count = std::min(colours->ColorCount, 256);
    for (int i = 0; i < count; ++i) {
      palette[i] =
          SDL_Color{colours->Colors[i].Red, colours->Colors[i].Green, colours->Colors[i].Blue, 0};
    }
    SDL_SetColors(surface, palette, 0, 256);
    if (transparent >= 0 && transparent < 256) {
      SDL_SetColorKey(surface, SDL_SRCCOLORKEY, static_cast<Uint32>(transparent));
    }
  }
  int error = 0;
  DGifCloseFile(gif, &error);
  return surface;
}
