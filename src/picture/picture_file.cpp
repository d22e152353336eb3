#include "picture/picture_file.h"

#include <SDL.h>
#include <SDL_image.h>
#include <stb_image.h>
#include <sys/stat.h>
#include <tiffio.h>
#include <webp/decode.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The types in the order in which the image loader tries them; TGA has no signature and
// is taken by its extension alone.
enum class PictureType {
  Cur,
  Ico,
  Bmp,
  Gif,
  Jpg,
  Lbm,
  Pcx,
  Png,
  Pnm,
  Tif,
  Xcf,
  Xpm,
  Xv,
  Webp,
  Tga
};

std::optional<PictureType> detectType(const char* path) {
  SDL_RWops* file = SDL_RWFromFile(path, "rb");
  if (file == nullptr) return std::nullopt;
  struct Probe {
    int (*matches)(SDL_RWops*);
    PictureType type;
  };
  const Probe probes[] = {
      {IMG_isCUR, PictureType::Cur}, {IMG_isICO, PictureType::Ico},   {IMG_isBMP, PictureType::Bmp},
      {IMG_isGIF, PictureType::Gif}, {IMG_isJPG, PictureType::Jpg},   {IMG_isLBM, PictureType::Lbm},
      {IMG_isPCX, PictureType::Pcx}, {IMG_isPNG, PictureType::Png},   {IMG_isPNM, PictureType::Pnm},
      {IMG_isTIF, PictureType::Tif}, {IMG_isXCF, PictureType::Xcf},   {IMG_isXPM, PictureType::Xpm},
      {IMG_isXV, PictureType::Xv},   {IMG_isWEBP, PictureType::Webp},
  };
  std::optional<PictureType> found;
  for (const Probe& probe : probes) {
    if (probe.matches(file) != 0) {
      found = probe.type;
      break;
    }
  }
  SDL_RWclose(file);
  if (found) return found;
  const char* dot = std::strrchr(path, '.');
  if (dot != nullptr && std::strlen(dot) == 4 && std::tolower(dot[1]) == 't' &&
      std::tolower(dot[2]) == 'g' && std::tolower(dot[3]) == 'a') {
    return PictureType::Tga;
  }
  return std::nullopt;
}

// The first bytes of the file: enough for every header read here.
std::vector<unsigned char> readHead(const char* path, size_t limit) {
  std::vector<unsigned char> head(limit);
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return {};
  head.resize(std::fread(head.data(), 1, limit, file));
  std::fclose(file);
  return head;
}

uint32_t bigEndian(const std::vector<unsigned char>& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[at + i];
  return value;
}

uint32_t littleEndian(const std::vector<unsigned char>& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

std::optional<PictureSize> sizeByStb(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return std::nullopt;
  int width = 0, height = 0, components = 0;
  const int known = stbi_info_from_file(file, &width, &height, &components);
  std::fclose(file);
  if (known == 0) return std::nullopt;
  return PictureSize{width, height};
}

// GIF: the loader makes its surface the size of the first image in the file, which need
// not be the logical screen's size; take the larger of the two on each axis.
std::optional<PictureSize> sizeOfGif(const std::vector<unsigned char>& head) {
  if (head.size() < 13) return std::nullopt;
  PictureSize size{littleEndian(head, 6, 2), littleEndian(head, 8, 2)};
  size_t at = 13;
  if ((head[10] & 0x80) != 0) at += 3u << ((head[10] & 0x07) + 1);  // global colour table
  while (at < head.size()) {
    if (head[at] == 0x2c) {  // image descriptor
      if (at + 9 > head.size()) return std::nullopt;
      size.width = std::max<int64_t>(size.width, littleEndian(head, at + 5, 2));
      size.height = std::max<int64_t>(size.height, littleEndian(head, at + 7, 2));
      return size;
    }
    if (head[at] != 0x21 || at + 2 > head.size()) return std::nullopt;  // not an extension
    at += 2;  // introducer and label, then sub-blocks up to an empty one
    while (at < head.size() && head[at] != 0) at += head[at] + 1u;
    ++at;
  }
  return std::nullopt;
}

std::optional<PictureSize> sizeOfPcx(const std::vector<unsigned char>& head) {
  if (head.size() < 12) return std::nullopt;
  const int64_t width = int64_t{littleEndian(head, 8, 2)} - littleEndian(head, 4, 2) + 1;
  const int64_t height = int64_t{littleEndian(head, 10, 2)} - littleEndian(head, 6, 2) + 1;
  return PictureSize{width, height};
}

// "gimp xcf file\0" or "gimp xcf v001\0", then width and height.
std::optional<PictureSize> sizeOfXcf(const std::vector<unsigned char>& head) {
  if (head.size() < 22) return std::nullopt;
  return PictureSize{bigEndian(head, 14, 4), bigEndian(head, 18, 4)};
}

// IFF: the BMHD chunk, normally the first after "FORM", size and "ILBM" or "PBM ".
std::optional<PictureSize> sizeOfLbm(const std::vector<unsigned char>& head) {
  size_t at = 12;
  while (at + 12 <= head.size()) {
    const uint32_t length = bigEndian(head, at + 4, 4);
    if (std::memcmp(&head[at], "BMHD", 4) == 0) {
      return PictureSize{bigEndian(head, at + 8, 2), bigEndian(head, at + 10, 2)};
    }
    at += 8 + length + (length & 1);
  }
  return std::nullopt;
}

// Reads the unsigned decimal numbers of a text header, skipping '#' comments.
std::vector<int64_t> headerNumbers(const std::vector<unsigned char>& head, size_t at, size_t count,
                                   bool comments) {
  std::vector<int64_t> numbers;
  while (at < head.size() && numbers.size() < count) {
    const unsigned char c = head[at];
    if (comments && c == '#') {
      while (at < head.size() && head[at] != '\n') ++at;
    } else if (std::isdigit(c)) {
      int64_t value = 0;
      while (at < head.size() && std::isdigit(head[at]) && value < (int64_t{1} << 40)) {
        value = value * 10 + (head[at++] - '0');
      }
      numbers.push_back(value);
      continue;
    } else if (!std::isspace(c)) {
      return {};
    }
    ++at;
  }
  return numbers;
}

// PNM: "P1".."P6", then width and height as text.
std::optional<PictureSize> sizeOfPnm(const std::vector<unsigned char>& head) {
  const std::vector<int64_t> numbers = headerNumbers(head, 2, 2, true);
  if (numbers.size() < 2) return std::nullopt;
  return PictureSize{numbers[0], numbers[1]};
}

// XPM: the first string of the array holds "width height colours characters-per-pixel".
std::optional<PictureSize> sizeOfXpm(const std::vector<unsigned char>& head) {
  const unsigned char* text = head.data();
  const void* quote = std::memchr(text, '"', head.size());
  if (quote == nullptr) return std::nullopt;
  const size_t at = static_cast<const unsigned char*>(quote) - text + 1;
  std::vector<unsigned char> rest(head.begin() + static_cast<long>(at), head.end());
  const void* end = std::memchr(rest.data(), '"', rest.size());
  if (end == nullptr) return std::nullopt;
  rest.resize(static_cast<const unsigned char*>(end) - rest.data());
  const std::vector<int64_t> numbers = headerNumbers(rest, 0, 2, false);
  if (numbers.size() < 2) return std::nullopt;
  return PictureSize{numbers[0], numbers[1]};
}

std::optional<PictureSize> sizeOfWebp(const std::vector<unsigned char>& head) {
  int width = 0, height = 0;
  if (WebPGetInfo(head.data(), head.size(), &width, &height) == 0) return std::nullopt;
  return PictureSize{width, height};
}

// The first directory's size. libtiff reports problems on standard error unless told not
// to; the image loader uses the same library, so this silences its decoding too.
std::optional<PictureSize> sizeOfTiff(const char* path) {
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  TIFF* tiff = TIFFOpen(path, "r");
  if (tiff == nullptr) return std::nullopt;
  uint32_t width = 0, height = 0;
  const bool known = TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) == 1 &&
                     TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) == 1;
  TIFFClose(tiff);
  if (!known) return std::nullopt;
  return PictureSize{width, height};
}

constexpr size_t kHeadBytes = 64 * 1024;

}  // namespace

std::optional<PictureSize> readPictureSize(const char* path) {
  struct stat info;
  // Pipes, devices and folders are never opened: reading one could block or never end.
  if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  const std::optional<PictureType> type = detectType(path);
  if (!type) return std::nullopt;
  switch (*type) {
    case PictureType::Cur:
    case PictureType::Ico:
      // Icon entries store each side in one byte: 256 x 256 at most.
      return PictureSize{256, 256};
    case PictureType::Bmp:
    case PictureType::Jpg:
    case PictureType::Png:
    case PictureType::Tga:
      return sizeByStb(path);
    case PictureType::Gif:
      return sizeOfGif(readHead(path, kHeadBytes));
    case PictureType::Lbm:
      return sizeOfLbm(readHead(path, kHeadBytes));
    case PictureType::Pcx:
      return sizeOfPcx(readHead(path, kHeadBytes));
    case PictureType::Pnm:
      return sizeOfPnm(readHead(path, kHeadBytes));
    case PictureType::Tif:
      return sizeOfTiff(path);
    case PictureType::Xcf:
      return sizeOfXcf(readHead(path, kHeadBytes));
    case PictureType::Xpm:
      return sizeOfXpm(readHead(path, kHeadBytes));
    case PictureType::Webp:
      return sizeOfWebp(readHead(path, kHeadBytes));
    case PictureType::Xv:
      break;  // rare enough not to be measured: refused
  }
  return std::nullopt;
}

bool isDecodablePicture(const char* path) {
  const std::optional<PictureSize> size = readPictureSize(path);
  return size && size->width > 0 && size->height > 0 &&
         size->width <= kMaxPicturePixels / size->height;
}
