// The OS services every layer stands on: which module code lives in and where its file is,
// resources registered by the module that carries them, and symbols of already loaded libraries.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "platform/ModulePath.h"
#include "platform/Resources.h"
#include "platform/SymbolLookup.h"

namespace tavo::platform {
namespace {

constexpr unsigned char kBytes[] = {1, 2, 3};
const std::array<EmbeddedResource, 1> kTable{{{"TEST", 4242, kBytes, sizeof kBytes}}};
const bool kRegistered = (RegisterEmbeddedResources(kTable), true);

TEST(ModulePath, NamesThisProgramAndCutsToTheBufferWithATerminator) {
  const ModuleHandle self = ModuleOf(reinterpret_cast<const void*>(&ModuleOf));
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(self, CurrentModule());
  char path[4096];
  const std::size_t length = ModuleFilePath(self, path, sizeof path);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::strlen(path), length);
  EXPECT_NE(std::string(path).find("platform_tests"), std::string::npos);

  char small[5];
  EXPECT_EQ(ModuleFilePath(self, small, sizeof small), length); // the full length, cut copy
  EXPECT_EQ(std::strlen(small), sizeof small - 1);
  EXPECT_EQ(ModuleOf(nullptr), nullptr);
}

TEST(Resources, AreFoundByTypeAndIdentifierInTheModuleThatRegisteredThem) {
  ASSERT_TRUE(kRegistered);
  const auto found = FindModuleResource(CurrentModule(), "TEST", 4242);
  ASSERT_EQ(found.size(), sizeof kBytes);
  EXPECT_EQ(found.data(), kBytes);
  EXPECT_EQ(FindModuleResource(nullptr, "TEST", 4242).data(), kBytes);
  EXPECT_TRUE(FindModuleResource(CurrentModule(), "TEST", 4243).empty());
  EXPECT_TRUE(FindModuleResource(CurrentModule(), "PNG", 4242).empty());
}

TEST(SymbolLookup, FindsOnlyWhatALoadedLibraryExports) {
  EXPECT_NE(FindLoadedSymbol("libc.so.6", "malloc"), nullptr);
  EXPECT_EQ(FindLoadedSymbol("libc.so.6", "no_such_symbol_anywhere"), nullptr);
  EXPECT_EQ(FindLoadedSymbol("libnot-loaded-here.so", "malloc"), nullptr);
  EXPECT_EQ(FindLoadedOrdinal("libc.so.6", 1), nullptr); // no ordinals on this system
}

} // namespace
} // namespace tavo::platform
