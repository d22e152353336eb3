#include "picture/picture_file.h"

#include "picture/gif_picture.h"

#include <SDL.h>
#include <SDL_image.h>
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

// The types in the order in which the image loader tries them. TGA has no signature: a
// file whose name ends in .tga is taken for one, whatever it holds, before anything else.
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

bool hasTgaExtension(const char* path) {
  const char* dot = std::strrchr(path, '.');
  return dot != nullptr && std::strlen(dot) == 4 && std::tolower(dot[1]) == 't' &&
         std::tolower(dot[2]) == 'g' && std::tolower(dot[3]) == 'a';
}

std::optional<PictureType> detectType(const char* path) {
  // The loader takes a file named .tga for a TGA before it looks at any signature.
  if (hasTgaExtension(path)) return PictureType::Tga;
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
  return found;
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

uint32_t bigEndian(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
  return value;
}

uint32_t littleEndian(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

// Moves count bytes on; false when the file ends before them.
bool skipBytes(FILE* file, long count) {
  if (std::fseek(file, count - 1, SEEK_CUR) != 0) return false;
  return std::fgetc(file) != EOF;
}

// PNG: the IHDR chunk, first after the signature, holds the size. The loader hands the
// PNG library whatever is in its buffer when a read runs past the end of the file, which
// can keep it reading forever, so every chunk up to IEND must lie inside the file.
std::optional<PictureSize> sizeOfPng(FILE* file) {
  unsigned char start[24];
  if (std::fread(start, 1, sizeof start, file) != sizeof start) return std::nullopt;
  if (std::memcmp(&start[12], "IHDR", 4) != 0) return std::nullopt;
  if (std::fseek(file, 8, SEEK_SET) != 0) return std::nullopt;
  for (;;) {
    unsigned char chunk[8];  // length and type
    if (std::fread(chunk, 1, sizeof chunk, file) != sizeof chunk) return std::nullopt;
    const uint32_t length = bigEndian(chunk, 4);
    if (length > 0x7fffffffu || !skipBytes(file, static_cast<long>(length) + 4)) {
      return std::nullopt;  // data and CRC
    }
    if (std::memcmp(&chunk[4], "IEND", 4) == 0) break;
  }
  return PictureSize{bigEndian(&start[16], 4), bigEndian(&start[20], 4)};
}

// BMP: the info header's size tells its form; a negative height means rows top down.
std::optional<PictureSize> sizeOfBmp(const std::vector<unsigned char>& head) {
  if (head.size() < 26) return std::nullopt;
  if (littleEndian(&head[14], 4) == 12) {
    return PictureSize{littleEndian(&head[18], 2), littleEndian(&head[20], 2)};
  }
  const int64_t width = static_cast<int32_t>(littleEndian(&head[18], 4));
  const int64_t height = static_cast<int32_t>(littleEndian(&head[22], 4));
  return PictureSize{width, height < 0 ? -height : height};
}

std::optional<PictureSize> sizeOfTga(const std::vector<unsigned char>& head) {
  if (head.size() < 18) return std::nullopt;
  return PictureSize{littleEndian(&head[12], 2), littleEndian(&head[14], 2)};
}

// JPEG: walks the marker segments up to the first start-of-frame, which holds the size.
std::optional<PictureSize> sizeOfJpeg(FILE* file) {
  if (std::fgetc(file) != 0xff || std::fgetc(file) != 0xd8) return std::nullopt;
  for (;;) {
    int marker = std::fgetc(file);
    if (marker != 0xff) return std::nullopt;
    while (marker == 0xff) marker = std::fgetc(file);  // fill bytes
    if (marker == EOF || marker == 0xd9 || marker == 0xda) return std::nullopt;
    if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) continue;  // no length
    unsigned char field[7];
    if (std::fread(field, 1, 2, file) != 2) return std::nullopt;
    const long length = field[0] << 8 | field[1];
    if (length < 2) return std::nullopt;
    const bool startOfFrame =
        marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
    if (startOfFrame) {
      if (length < 7 || std::fread(field, 1, 5, file) != 5) return std::nullopt;
      return PictureSize{field[3] << 8 | field[4], field[1] << 8 | field[2]};
    }
    if (std::fseek(file, length - 2, SEEK_CUR) != 0) return std::nullopt;
  }
}

// Runs a reader that walks the file's structure over the open file.
std::optional<PictureSize> walkFile(const char* path, std::optional<PictureSize> (*reader)(FILE*)) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return std::nullopt;
  const std::optional<PictureSize> size = reader(file);
  std::fclose(file);
  return size;
}

// Reads the unsigned decimal numbers of a text header, skipping '#' comments.
std::vector<int64_t> headerNumbers(const std::vector<unsigned char>& head, size_t at,
                                   size_t count) {
  std::vector<int64_t> numbers;
  while (at < head.size() && numbers.size() < count) {
    const unsigned char c = head[at];
    if (c == '#') {
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
  const std::vector<int64_t> numbers = headerNumbers(head, 2, 2);
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

constexpr size_t kHeadBytes = 4096;

// The type of a regular file, as the image loader will take it. Pipes, devices and folders
// are never opened: reading one could block or never end.
std::optional<PictureType> regularFileType(const char* path) {
  struct stat info;
  if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return detectType(path);
}

std::optional<PictureSize> sizeOfType(const char* path, PictureType type) {
  switch (type) {
    case PictureType::Bmp:
      return sizeOfBmp(readHead(path, kHeadBytes));
    case PictureType::Jpg:
      return walkFile(path, sizeOfJpeg);
    case PictureType::Png:
      return walkFile(path, sizeOfPng);
    case PictureType::Tga:
      return sizeOfTga(readHead(path, kHeadBytes));
    case PictureType::Pnm:
      return sizeOfPnm(readHead(path, kHeadBytes));
    case PictureType::Tif:
      return sizeOfTiff(path);
    case PictureType::Webp:
      return sizeOfWebp(readHead(path, kHeadBytes));
    case PictureType::Gif:
      return readGifSize(path);
    case PictureType::Cur:
    case PictureType::Ico:
    case PictureType::Lbm:
    case PictureType::Pcx:
    case PictureType::Xcf:
    case PictureType::Xpm:
    case PictureType::Xv:
      // These are read by the loader's own old decoders. Its XPM decoder crashes on a
      // duplicated colour key; its PCX decoder asks for a negative amount of memory on a
      // broken header. A file cannot be proven safe for them without decoding it, so they
      // are refused rather than decoded. (Its GIF decoder is no better, so GIF is decoded
      // with giflib instead.)
      break;
  }
  return std::nullopt;
}

bool withinLimit(const std::optional<PictureSize>& size) {
  return size && size->width > 0 && size->height > 0 &&
         size->width <= kMaxPicturePixels / size->height;
}

}  // namespace

std::optional<PictureSize> readPictureSize(const char* path) {
  const std::optional<PictureType> type = regularFileType(path);
  if (!type) return std::nullopt;
  return sizeOfType(path, *type);
}

bool isDecodablePicture(const char* path) {
  return withinLimit(readPictureSize(path));
}

SDL_Surface* decodePicture(const char* path) {
  const std::optional<PictureType> type = regularFileType(path);
  if (!type || !withinLimit(sizeOfType(path, *type))) return nullptr;
  return *type == PictureType::Gif ? decodeGif(path) : IMG_Load(path);
}
