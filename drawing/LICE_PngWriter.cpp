// PNG encoding for snapshots and tests: 8-bit RGBA, straight alpha, no interlacing. As in the
// loader, the function that arms libpng's long jump owns nothing with a destructor.

#include "drawing/LICE_Png.h"
#include "platform/FileOpen.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void OnPngError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void FlushNothing(png_structp) {}

struct EncodeJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  unsigned char* row = nullptr; // one converted row, malloc'd

  ~EncodeJob() {
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    std::free(row);
  }
};

bool EncodeArmed(EncodeJob& job, const LICE_IBitmap& bitmap) {
  if (setjmp(png_jmpbuf(job.png))) return false;
  const int width = bitmap.Width(), height = bitmap.Height();
  png_set_IHDR(job.png, job.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
               8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(job.png, job.info);
  const LICE_pixel* pixels = bitmap.PixelData();
  const std::ptrdiff_t span = bitmap.RowSpan();
  for (int y = 0; y < height; ++y) {
    const int stored = bitmap.IsBottomUp() ? height - 1 - y : y;
    const LICE_pixel* source = pixels + span * stored;
    unsigned char* out = job.row;
    for (int x = 0; x < width; ++x, out += 4) {
      const LICE_pixel p = source[x];
      out[0] = static_cast<unsigned char>(p >> 16);
      out[1] = static_cast<unsigned char>(p >> 8);
      out[2] = static_cast<unsigned char>(p);
      out[3] = static_cast<unsigned char>(p >> 24);
    }
    png_write_row(job.png, job.row);
  }
  png_write_end(job.png, nullptr);
  return true;
}

template <class WireOutput> bool Encode(const LICE_IBitmap& bitmap, WireOutput wireOutput) {
  if (!bitmap.PixelData() || bitmap.Width() <= 0 || bitmap.Height() <= 0) return false;
  EncodeJob job;
  job.png = png_create_write_struct(png_get_libpng_ver(nullptr), nullptr, OnPngError, OnPngWarning);
  if (!job.png) return false;
  job.info = png_create_info_struct(job.png);
  if (!job.info) return false;
  job.row = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(bitmap.Width()) * 4));
  if (!job.row) return false;
  wireOutput(job.png);
  return EncodeArmed(job, bitmap);
}

} // namespace

bool WritePngToFile(const char* path, const LICE_IBitmap& bitmap) {
  if (!path) return false;
  std::FILE* file = tavo::platform::OpenFile(path, "wb");
  if (!file) return false;
  const bool written = Encode(bitmap, [file](png_structp png) { png_init_io(png, file); });
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) std::remove(path);
  return written && closed;
}

std::vector<unsigned char> EncodePng(const LICE_IBitmap& bitmap) {
  std::vector<unsigned char> out;
  const bool written = Encode(bitmap, [&out](png_structp png) {
    png_set_write_fn(png, &out, WriteToVector, FlushNothing);
  });
  if (!written) out.clear();
  return out;
}
