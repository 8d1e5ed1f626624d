// PNG artwork from this executable's resources (type "PNG": 901 the 3 x 2 test image, 902 the
// same image cut short) and PNG files named by UTF-8 paths beyond ASCII.

#include "drawing/LICE_MemBitmap.h"
#include "drawing/LICE_Png.h"
#include "platform/FileOpen.h"

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
  // Beyond 16 bits an identifier would be read as the address of a name string.
  EXPECT_EQ(LoadPngFromResource(self, 0x10000 + 901, nullptr), nullptr);
  EXPECT_EQ(LoadPngFromResource(self, -1, nullptr), nullptr);
  EXPECT_EQ(LoadPngFromResource(self, 0, nullptr), nullptr);
}

// A scratch folder under the temporary folder, named and filled through UTF-16 calls only.
class Utf8Paths : public ::testing::Test {
protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    folder_ = std::wstring(temp) + L"tavo-\u00e9\u03a9-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
    file_ = folder_ + L"\\\u00e9t\u00e9.png";
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(901), "PNG");
    ASSERT_NE(resource, nullptr);
    FILE* out = _wfopen(file_.c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    fwrite(LockResource(LoadResource(nullptr, resource)), 1, SizeofResource(nullptr, resource),
           out);
    fclose(out);
  }
  void TearDown() override {
    DeleteFileW(file_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  std::string Utf8(const std::wstring& wide) {
    char out[1024];
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out, sizeof out, nullptr, nullptr);
    return n > 0 ? std::string(out) : std::string();
  }
  std::wstring folder_;
  std::wstring file_;
};

TEST_F(Utf8Paths, WriterAndLoaderTakeNonAsciiPaths) {
  const std::string path = Utf8(file_);
  ASSERT_NE(path.find("\xC3\xA9t\xC3\xA9.png"), std::string::npos);
  std::unique_ptr<LICE_IBitmap> loaded(LoadPngFromFile(path.c_str(), true, nullptr));
  ExpectEmbeddedImage(loaded.get());
  // Written under a UTF-8 name, the file must carry that name (seen through UTF-16).
  const std::wstring copy = folder_ + L"\\\u03a9.png";
  ASSERT_TRUE(WritePngToFile(Utf8(copy).c_str(), *loaded));
  FILE* written = _wfopen(copy.c_str(), L"rb");
  ASSERT_NE(written, nullptr);
  fclose(written);
  std::unique_ptr<LICE_IBitmap> again(LoadPngFromFile(Utf8(copy).c_str(), true, nullptr));
  DeleteFileW(copy.c_str());
  ExpectEmbeddedImage(again.get());
}

TEST_F(Utf8Paths, InvalidOrOverlongPathsFailWithoutOpeningAnything) {
  EXPECT_EQ(tavo::platform::OpenFile((Utf8(folder_) + "\\\xC0\xA9.png").c_str(), "rb"), nullptr);
  const std::string overlong = Utf8(folder_) + "\\" + std::string(5000, 'a') + ".png";
  EXPECT_EQ(LoadPngFromFile(overlong.c_str(), true, nullptr), nullptr);
}

} // namespace
