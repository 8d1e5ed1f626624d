// What only the Windows DLLs show. The module loaded by the host driver: the engine takes its open
// and close procedures, the resource file is named from the DLL's own file name, and the artwork
// sits in the resource section as type "PNG", 101 to 107, byte for byte the files it was built
// from. The engine DLLs export the host's decorated names and DigiExt's ordinals, as the
// module's symbol lookup finds them; the module path is read and cut as on Linux.

#include <gtest/gtest.h>
#include <windows.h>
// The driver's HostModule::CreateProcess is not the system's CreateProcessA.
#undef CreateProcess

#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ModulePath.h"
#include "platform/Resources.h"
#include "platform/SymbolLookup.h"
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
    const auto found = tavo::platform::FindModuleResource(dll, "PNG", id);
    const std::vector<unsigned char> stored(found.begin(), found.end());
    const auto file = FileBytes(std::string(TAVO_ARTWORK_DIR) + "/" +
                                kFiles[static_cast<size_t>(id - 101)] + ".png");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(stored, file);
  }
  EXPECT_TRUE(tavo::platform::FindModuleResource(dll, "PNG", 108).empty());
  EXPECT_TRUE(tavo::platform::FindModuleResource(dll, "BMP", 101).empty());
}

// The driver opens the editor in a window of its own: a tick with nothing changed draws nothing,
// a larger host window still reads back as the editor's own frame, and the window goes with the
// editor, as often as it is reopened.
TEST_F(HostDriver, TheEditorsOwnWindowIsTickedReadAndTakenDown) {
  auto p = Create();
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(p->OpenEditor(404, 516), 0);
    HWND own = FindWindowA("TavoHostEditorFrame", nullptr);
    ASSERT_NE(own, nullptr);
    RECT client{};
    GetClientRect(own, &client);
    EXPECT_EQ(client.right, 404);
    EXPECT_EQ(client.bottom, 516);
    bool drew = false;
    ASSERT_EQ(p->TickEditor(&drew), 0);
    EXPECT_TRUE(drew);
    ASSERT_EQ(p->TickEditor(&drew), 0);
    EXPECT_FALSE(drew);
    std::vector<uint32_t> pixels;
    int32_t width = 0, height = 0;
    ASSERT_EQ(p->ReadEditorFrame(pixels, width, height), 0);
    EXPECT_EQ(width, 304);
    EXPECT_EQ(height, 416);
    EXPECT_EQ(pixels[0] >> 24, 0xFFu);
    ASSERT_EQ(p->CloseEditor(), 0);
    EXPECT_FALSE(IsWindow(own));
    EXPECT_EQ(p->ReadEditorFrame(pixels, width, height), kErrEditorNotOpen);
  }
}

TEST(EngineDlls, ExportTheDecoratedNamesAndTheOrdinalsTheModuleLooksUp) {
  using tavo::platform::FindLoadedOrdinal;
  using tavo::platform::FindLoadedSymbol;
  for (const hostabi::SEngineSymbol& symbol : hostabi::exports::kAll) {
    const char* library = hostabi::kWindowsLibrary[static_cast<size_t>(symbol.library)];
    SCOPED_TRACE(symbol.posixName);
    if (symbol.ordinal != 0)
      EXPECT_NE(FindLoadedOrdinal(library, symbol.ordinal), nullptr);
    else
      EXPECT_NE(FindLoadedSymbol(library, symbol.windowsName), nullptr);
  }
  // The undecorated names are not exports, and nothing is found in a library not loaded.
  EXPECT_EQ(FindLoadedSymbol("DAE.DLL", "FicGestalt"), nullptr);
  EXPECT_EQ(FindLoadedOrdinal("DigiExt.dll", 306), nullptr);
  EXPECT_EQ(FindLoadedSymbol("NotLoaded.dll", "_FicGestalt@8"), nullptr);
}

TEST(ModulePath, NamesThisProgramAndCutsToTheBufferWithATerminator) {
  using namespace tavo::platform;
  const ModuleHandle self = CurrentModule();
  ASSERT_EQ(self, GetModuleHandleA(nullptr));
  char path[4096];
  const std::size_t length = ModuleFilePath(self, path, sizeof path);
  ASSERT_GT(length, 4u);
  EXPECT_EQ(std::string(path).substr(length - 4), ".exe");
  char small[5];
  EXPECT_EQ(ModuleFilePath(self, small, sizeof small), length); // the full length, cut copy
  EXPECT_EQ(std::string(small).size(), sizeof small - 1);
  EXPECT_EQ(ModuleFilePath(nullptr, small, sizeof small), 0u);
  EXPECT_EQ(small[0], '\0');
}

} // namespace
