// The module's DLL entry point in a host whose engine (DAE.dll beside this program) lacks
// "SetPlugInOpenAndCloseProcs": the module opens itself while it loads and closes at unload, and
// a module that cannot open refuses to load at all.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "host/engine/StandInControl.h"

namespace {

using GetRoutineFn = int32_t(HOSTABI_CALL*)(uint32_t, void**);

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class EntryWithoutEngineProcs : public ::testing::Test {
protected:
  void SetUp() override { standin::ResetAll(); }
  void TearDown() override {
    EXPECT_EQ(GetModuleHandleA("TAVO.dll"), nullptr) << "the module stayed loaded";
    EXPECT_EQ(standin::DigiExtErrorCount(), 0);
    standin::ResetAll();
  }
};

TEST_F(EntryWithoutEngineProcs, OpensItselfAtLoadAndClosesAtUnload) {
  HMODULE module = LoadLibraryA(TAVO_MODULE_FILE);
  ASSERT_NE(module, nullptr) << "LoadLibrary failed with " << GetLastError();
  EXPECT_EQ(standin::RegisteredOpenProc(), nullptr);

  // Open at load: the resource file beside the module, named from the DLL's own file name.
  auto events = standin::ResourceFileEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_TRUE(events[0].open);
  EXPECT_TRUE(EndsWith(events[0].path, "TAVO.dll.rsr")) << events[0].path;
  ASSERT_EQ(standin::ManagerClients().size(), 1u);

  auto getRoutine = reinterpret_cast<GetRoutineFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "_PI_GetRoutineDescriptor")));
  ASSERT_NE(getRoutine, nullptr);
  void* routine = nullptr;
  EXPECT_EQ(getRoutine(0, &routine), 0);
  EXPECT_NE(routine, nullptr);
  EXPECT_EQ(getRoutine(11, &routine), hostabi::kErrUndefinedSelector);
  EXPECT_EQ(routine, nullptr);

  FreeLibrary(module);
  events = standin::ResourceFileEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_FALSE(events[1].open);
  EXPECT_EQ(events[1].path, events[0].path);
  EXPECT_FALSE(standin::ManagerClients().front().registered);
}

TEST_F(EntryWithoutEngineProcs, AModuleThatCannotOpenRefusesToLoad) {
  standin::RefuseClientRegistration(true);
  SetLastError(0);
  HMODULE module = LoadLibraryA(TAVO_MODULE_FILE);
  EXPECT_EQ(module, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  if (module) FreeLibrary(module);

  // The failed open gave back the resource file it had opened.
  const auto events = standin::ResourceFileEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].open);
  EXPECT_FALSE(events[1].open);

  // Once the host lets it register, the same file loads.
  standin::ResetAll();
  module = LoadLibraryA(TAVO_MODULE_FILE);
  EXPECT_NE(module, nullptr);
  if (module) FreeLibrary(module);
}

} // namespace
