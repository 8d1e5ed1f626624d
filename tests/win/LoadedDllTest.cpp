// What only the Windows DLL shows, loaded by the host driver: the engine takes the module's open
// and close procedures, the resource file is named from the DLL's own file name, and the artwork
// sits in the resource section as type "PNG", 101 to 107, byte for byte the files it was built
// from.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/host/driver/DriverFixture.h"

using namespace tavo::host;
using namespace tavo::host::test;

namespace {

std::vector<unsigned char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(HostDriver, TheEngineOpensAndClosesTheDll) {
  EXPECT_NE(standin::RegisteredOpenProc(), nullptr);
  EXPECT_NE(standin::RegisteredCloseProc(), nullptr);
  auto events = standin::ResourceFileEvents();
  ASSERT_EQ(events.size(), 1u);
  const std::string suffix = "\\TAVO.dll.rsr";
  ASSERT_GT(events[0].path.size(), suffix.size());
  EXPECT_EQ(events[0].path.substr(events[0].path.size() - suffix.size()), suffix);

  module_.reset();
  events = standin::ResourceFileEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_FALSE(events[1].open);
}

TEST_F(HostDriver, TheArtworkIsInTheResourceSection) {
  HMODULE dll = GetModuleHandleA("TAVO.dll");
  ASSERT_NE(dll, nullptr);
  constexpr std::array<const char*, 7> kFiles = {"VUBG1",   "BG1",     "LED",   "KnobS1",
                                                 "InGain1", "Needle1", "Bypass"};
  for (int id = 101; id <= 107; ++id) {
    SCOPED_TRACE(id);
    HRSRC found = FindResourceA(dll, MAKEINTRESOURCEA(id), "PNG");
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(dll, found)));
    const std::vector<unsigned char> stored(bytes, bytes + SizeofResource(dll, found));
    const auto file = FileBytes(std::string(TAVO_ARTWORK_DIR) + "/" +
                                kFiles[static_cast<size_t>(id - 101)] + ".png");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(stored, file);
  }
  EXPECT_EQ(FindResourceA(dll, MAKEINTRESOURCEA(108), "PNG"), nullptr);
}

} // namespace
