// PNG artwork from this executable's resources (type "PNG": 901 the 3 x 2 test image, 902 the
// same image cut short) and PNG files named by UTF-8 paths beyond ASCII.

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Png.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

namespace {

const LICE_pixel kEmbedded[2][3] = {{0xFFFF0000, 0x8000FF00, 0x000000FF},
                                    {0x280A141E, 0xFFFFFFFF, 0xFF000000}};

void ExpectEmbeddedImage(const LICE_IBitmap* bitmap) {
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->Width(), 3);
  ASSERT_EQ(bitmap->Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(bitmap->PixelData()[bitmap->RowSpan() * y + x], kEmbedded[y][x]) << x << y;
}

TEST(PngResource, DecodesTheModulesResourceIntoNewOrCallersBitmap) {
  std::unique_ptr<LICE_IBitmap> loaded(
      LoadPngFromResource(GetModuleHandleA(nullptr), 901, nullptr));
  ExpectEmbeddedImage(loaded.get());
  LICE_MemBitmap mine(40, 40, 4);
  EXPECT_EQ(LoadPngFromResource(GetModuleHandleA(nullptr), 901, &mine), &mine);
  ExpectEmbeddedImage(&mine);
}

TEST(PngResource, MissingCutShortOrOutOfRangeIdentifiersGiveNull) {
  HMODULE self = GetModuleHandleA(nullptr);
  EXPECT_EQ(LoadPngFromResource(self, 903, nullptr), nullptr);
  EXPECT_EQ(LoadPngFromResource(self, 902, nullptr), nullptr);
  // Identifiers beyond 16 bits must not wrap onto another resource.
  EXPECT_EQ(LoadPngFromResource(self, 0x10000 + 901, nullptr), nullptr);
  EXPECT_EQ(LoadPngFromResource(self, -1, nullptr), nullptr);
  EXPECT_EQ(LoadPngFromResource(self, 0, nullptr), nullptr);
}

std::string Utf8(const std::wstring& wide) {
  char out[1024];
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out, sizeof out, nullptr, nullptr);
  return n > 0 ? std::string(out) : std::string();
}

TEST(PngFile, WriterAndLoaderTakeUtf8PathsBeyondAscii) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder =
      std::wstring(temp) + L"tavo-\u00e9t\u00e9-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring file = folder + L"\\\u03a9.png";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::unique_ptr<LICE_IBitmap> image(LoadPngFromResource(nullptr, 901, nullptr));
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(WritePngToFile(Utf8(file).c_str(), *image));
  // The file carries the name as UTF-16 sees it, not the UTF-8 bytes in the system code page.
  FILE* written = _wfopen(file.c_str(), L"rb");
  EXPECT_NE(written, nullptr);
  if (written) fclose(written);
  std::unique_ptr<LICE_IBitmap> loaded(LoadPngFromFile(Utf8(file).c_str(), true, nullptr));
  DeleteFileW(file.c_str());
  RemoveDirectoryW(folder.c_str());
  ExpectEmbeddedImage(loaded.get());
}

} // namespace
