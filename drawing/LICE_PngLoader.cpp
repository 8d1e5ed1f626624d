// PNG decoding with libpng. libpng reports errors by a long jump back into the function that
// armed it, so that function (DecodeArmed) holds no object with a destructor: everything it
// creates lives in the DecodeJob of its caller and is released there.

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Png.h"
#include "platform/FileOpen.h"

#include <png.h>

#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Larger images are refused rather than allocated: no artwork comes near this, and a damaged
// or hostile header must not make the loader reserve gigabytes.
constexpr png_uint_32 kMaxDimension = 32768;
constexpr unsigned long long kMaxPixels = 1ull << 26;
// libpng's own allocations (row buffers, chunk data) stay far below this for any image we
// accept; a damaged ancillary chunk length (text, profiles) must not make it reserve a gigabyte.
// A refused allocation makes libpng skip that chunk, or fail the image.
constexpr png_alloc_size_t kMaxLibpngAllocation = 16u << 20;

png_voidp AllocateForLibpng(png_structp, png_alloc_size_t size) {
  return size <= kMaxLibpngAllocation ? std::malloc(size) : nullptr;
}
void FreeForLibpng(png_structp, png_voidp p) {
  std::free(p);
}

// Zeros served past the end of the data before the reader gives up. libpng rejects zero-filled
// data by its own checks, but a damaged chunk length can make it skip up to 2 GiB of "data"
// first; past this bound the result (failure) is the same, only reached at once.
constexpr std::size_t kMaxZerosPastEnd = 1 << 16;

struct MemoryReader {
  const unsigned char* next;
  std::size_t remaining;
  std::size_t zerosServed;
};

// Reads past the end yield zeros, which libpng then rejects as damaged data by its own checks.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  std::memset(out, 0, count);
  const std::size_t n = count < reader->remaining ? count : reader->remaining;
  if (n) {
    std::memcpy(out, reader->next, n);
    reader->next += n;
    reader->remaining -= n;
  }
  reader->zerosServed += count - n;
  if (reader->zerosServed > kMaxZerosPastEnd) png_error(png, "read past the end of the data");
}

// Errors end the decode silently; warnings are ignored.
[[noreturn]] void OnPngError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

struct DecodeJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  LICE_IBitmap* callerBitmap = nullptr;
  LICE_IBitmap* created = nullptr; // owned until handed to the caller
  png_bytep* rows = nullptr;       // malloc'd row table

  ~DecodeJob() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    std::free(rows);
    delete created;
  }
  LICE_IBitmap* Target() const { return callerBitmap ? callerBitmap : created; }
};

// Runs the decode proper; false on any error. Must not own anything with a destructor.
bool DecodeArmed(DecodeJob& job) {
  if (setjmp(png_jmpbuf(job.png))) return false;
  png_structp png = job.png;
  png_infop info = job.info;

  png_set_user_limits(png, kMaxDimension, kMaxDimension);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0, interlace = 0, compression = 0, filter = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, &compression,
               &filter);
  if (width == 0 || height == 0 || static_cast<unsigned long long>(width) * height > kMaxPixels)
    return false;

  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    hasAlpha = true;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  if (hasAlpha)
    png_set_swap_alpha(png);
  else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  // Every pixel must now be four bytes (alpha, red, green, blue); anything else would overrun
  // the rows below.
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) return false;

  const int w = static_cast<int>(width), h = static_cast<int>(height);
  if (job.callerBitmap) {
    job.callerBitmap->Resize(w, h);
  } else {
    job.created = new LICE_MemBitmap(w, h, 4);
  }
  LICE_IBitmap* target = job.Target();
  LICE_pixel* pixels = target->PixelData();
  if (target->Width() != w || target->Height() != h || !pixels) return false;

  job.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!job.rows) return false;
  const std::ptrdiff_t span = target->RowSpan();
  for (int y = 0; y < h; ++y)
    job.rows[y] = reinterpret_cast<png_bytep>(pixels + span * y);
  png_read_image(png, job.rows);
  return true;
}

// Turns the decoded bytes alpha, red, green, blue into 0xAARRGGBB words.
void ReorderToPixelWords(LICE_IBitmap& bitmap) {
  LICE_pixel* pixels = bitmap.PixelData();
  const std::ptrdiff_t span = bitmap.RowSpan();
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* bytes = reinterpret_cast<unsigned char*>(pixels + span * y);
    for (int x = 0; x < bitmap.Width(); ++x, bytes += 4) {
      pixels[span * y + x] = (LICE_pixel{bytes[0]} << 24) | (LICE_pixel{bytes[1]} << 16) |
                             (LICE_pixel{bytes[2]} << 8) | LICE_pixel{bytes[3]};
    }
  }
}

// Creates the libpng structures, wires the input in, decodes, and hands out the result.
template <class WireInput> LICE_IBitmap* Decode(LICE_IBitmap* bitmap, WireInput wireInput) {
  DecodeJob job;
  job.callerBitmap = bitmap;
  // The running library's own version: libpng refuses a read structure for a version string it
  // does not take as its own, and the library found at run time is the one that decodes.
  job.png = png_create_read_struct_2(png_get_libpng_ver(nullptr), nullptr, OnPngError, OnPngWarning,
                                     nullptr, AllocateForLibpng, FreeForLibpng);
  if (!job.png) return nullptr;
  job.info = png_create_info_struct(job.png);
  if (!job.info) return nullptr;
  wireInput(job.png);
  if (!DecodeArmed(job)) return nullptr;
  png_destroy_read_struct(&job.png, &job.info, nullptr);
  job.png = nullptr;
  LICE_IBitmap* result = job.Target();
  ReorderToPixelWords(*result);
  job.created = nullptr;
  return result;
}

bool HasPngExtension(const char* path) {
  const std::size_t length = std::strlen(path);
  std::size_t i = length;
  while (i > 0 && path[i - 1] != '.' && path[i - 1] != '/' && path[i - 1] != '\\')
    --i;
  if (i == 0 || path[i - 1] != '.') return false;
  const char* extension = path + i - 1;
  if (std::strlen(extension) != 4) return false;
  const char* expected = ".png";
  for (int k = 0; k < 4; ++k)
    if (std::tolower(static_cast<unsigned char>(extension[k])) != expected[k]) return false;
  return true;
}

} // namespace

LICE_IBitmap* LoadPngFromMemory(const void* data, std::size_t length, LICE_IBitmap* bitmap) {
  if (!data || length < 8) return nullptr;
  if (png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) return nullptr;
  MemoryReader reader{static_cast<const unsigned char*>(data), length, 0};
  return Decode(bitmap,
                [&reader](png_structp png) { png_set_read_fn(png, &reader, ReadFromMemory); });
}

LICE_IBitmap* LoadPngFromFile(const char* path, bool checkExtension, LICE_IBitmap* bitmap) {
  if (!path) return nullptr;
  if (checkExtension && !HasPngExtension(path)) return nullptr;
  std::FILE* file = tavo::platform::OpenFile(path, "rb");
  if (!file) return nullptr;
  LICE_IBitmap* result = Decode(bitmap, [file](png_structp png) { png_init_io(png, file); });
  std::fclose(file);
  return result;
}

const char* PngFileTypeDescription() {
  return "PNG files (*.PNG)";
}
