// A host's view of the module: TAVO.so is loaded with the engine stand-ins already in the
// process, and everything is reached through its four exports and the routine table.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "host/engine/StandInControl.h"
#include "hostlib/HostInterface.h"

using namespace hostabi;
namespace sel = hostabi::selector;

namespace {

using GetRoutineFn = int32_t (*)(uint32_t, void**);
using NewPlugInFn = int16_t (*)(int32_t);
using WinOpenFn = int32_t (*)(int32_t);
using WinCloseFn = int32_t (*)();

class LoadedModule : public ::testing::Test {
protected:
  void SetUp() override {
    standin::ResetAll();
    module_ = dlopen(TAVO_MODULE_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module_, nullptr) << dlerror();
    getRoutine_ = reinterpret_cast<GetRoutineFn>(dlsym(module_, "_PI_GetRoutineDescriptor"));
    ASSERT_NE(getRoutine_, nullptr);
    // The module handed its open and close procedures to the engine when it was loaded.
    open_ = standin::RegisteredOpenProc();
    close_ = standin::RegisteredCloseProc();
    ASSERT_NE(open_, nullptr);
    ASSERT_NE(close_, nullptr);
    ASSERT_EQ(open_(), 0);
    ASSERT_EQ(Call<void**>(sel::kModuleGroup, nullptr, &group_), 0);
    ASSERT_NE(group_, nullptr);
  }
  void TearDown() override {
    if (close_) {
      EXPECT_EQ(close_(), 0);
    }
    if (module_) dlclose(module_);
  }

  template <typename... A> int32_t Call(uint32_t selector, void* target, A... args) {
    void* routine = nullptr;
    if (getRoutine_(selector, &routine) != 0 || !routine) return -9007;
    return reinterpret_cast<int32_t (*)(void*, A...)>(routine)(target, args...);
  }

  // The effect's parameters as its chunk holds them, one double each after the header.
  std::vector<double> ChunkValues(const std::vector<uint8_t>& chunk) {
    std::vector<double> values((chunk.size() - kChunkHeaderBytes) / sizeof(double));
    std::memcpy(values.data(), chunk.data() + kChunkHeaderBytes, values.size() * sizeof(double));
    return values;
  }
  std::vector<uint8_t> SaveChunk(void* process) {
    int32_t size = 0;
    EXPECT_EQ(Call(sel::kProcessChunkSize, process, FourCC("TAVO"), &size), 0);
    std::vector<uint8_t> chunk(static_cast<size_t>(std::max(size, 56)), 0);
    auto* header = reinterpret_cast<SFicPlugInChunk*>(chunk.data());
    EXPECT_EQ(Call(sel::kProcessGetChunk, process, FourCC("TAVO"), header), 0);
    header->chunkID = FourCC("TAVO");
    return chunk;
  }

  void* module_ = nullptr;
  GetRoutineFn getRoutine_ = nullptr;
  ModuleProc open_ = nullptr;
  ModuleProc close_ = nullptr;
  void* group_ = nullptr;
};

TEST_F(LoadedModule, ExportsOnlyItsFourEntryPoints) {
  for (const char* name : {"NewPlugIn", "WinPlugInOpen", "WinPlugInClose"})
    EXPECT_NE(dlsym(module_, name), nullptr) << name;
  // Nothing of the module's own code is visible to the host.
  for (const char* name : {"_ZN4tavo10ModuleOpenEv", "_ZN4tavo10CreateTAVOEv"})
    EXPECT_EQ(dlsym(module_, name), nullptr) << name;
}

TEST_F(LoadedModule, RoutineTableAnswersDefinedAndUndefinedSelectors) {
  void* routine = reinterpret_cast<void*>(1);
  EXPECT_EQ(getRoutine_(11, &routine), -9007);
  EXPECT_EQ(routine, nullptr);
  EXPECT_EQ(getRoutine_(0, &routine), 0);
  EXPECT_NE(routine, nullptr);
  EXPECT_EQ(getRoutine_(176, &routine), -9007);
  // A handle the module never gave out is refused, not followed.
  int32_t count = 0;
  int dummy = 0;
  EXPECT_EQ(Call(sel::kGroupTypeCount, &dummy, &count), -7401);
}

TEST_F(LoadedModule, HostRendersControlsSavesAndOpensTheEditor) {
  int32_t types = 0;
  ASSERT_EQ(Call(sel::kGroupTypeCount, group_, &types), 0);
  EXPECT_EQ(types, 2);
  void* stereo = nullptr;
  ASSERT_EQ(Call(sel::kGroupTypeByIndex, group_, int32_t{2}, &stereo), 0);
  int32_t typeID = 0, category = 0, channels = 0;
  EXPECT_EQ(Call(sel::kTypeID, stereo, &typeID), 0);
  EXPECT_EQ(Call(sel::kTypeCategory, stereo, &category), 0);
  EXPECT_EQ(Call(sel::kTypeOutputChannels, stereo, &channels), 0);
  EXPECT_EQ(typeID, FourCC("TAV2"));
  EXPECT_EQ(category, 64);
  EXPECT_EQ(channels, 2);

  // Create and initialise the stereo process, then connect it for rendering.
  void* process = nullptr;
  ASSERT_EQ(Call(sel::kGroupCreateProcess, group_, int32_t{2}, int32_t{0}, &process), 0);
  ASSERT_NE(process, nullptr);
  int32_t controls = 0;
  EXPECT_EQ(Call(sel::kProcessControlCount, process, &controls), 0);
  EXPECT_EQ(controls, 9);
  ASSERT_EQ(Call(sel::kProcessConnect, process), 0);

  // Render blocks of a sine through the engine.
  auto instances = standin::RenderInstances();
  ASSERT_EQ(instances.size(), 1u);
  std::vector<std::vector<float>> buffers(4, std::vector<float>(32, 0.0f));
  std::vector<float*> pointers;
  for (auto& b : buffers)
    pointers.push_back(b.data());
  double energy = 0.0;
  for (int block = 0; block < 200; ++block) {
    for (int i = 0; i < 32; ++i)
      buffers[0][static_cast<size_t>(i)] = buffers[1][static_cast<size_t>(i)] =
          0.5f * std::sin(0.05f * static_cast<float>(block * 32 + i));
    ASSERT_TRUE(standin::RenderBlock(instances[0], pointers, 32, 32));
    for (float s : buffers[2])
      energy += static_cast<double>(s) * s;
  }
  EXPECT_GT(energy, 0.0);

  // The host moves Drive (control 3) to the top of its range; the effect's state follows.
  ASSERT_EQ(Call(sel::kProcessSetControlFromHost, process, int32_t{3}, int32_t{2147483647}), 0);
  std::vector<uint8_t> saved = SaveChunk(process);
  ASSERT_EQ(saved.size(), 56u + 8 * 8);
  EXPECT_EQ(ChunkValues(saved)[1], 10.0);

  // Move it again, then restore the saved chunk: Drive is back and the chunks compare equal.
  ASSERT_EQ(Call(sel::kProcessSetControlFromHost, process, int32_t{3}, int32_t{0}), 0);
  EXPECT_NEAR(ChunkValues(SaveChunk(process))[1], 5.0, 1e-8);
  auto* header = reinterpret_cast<SFicPlugInChunk*>(saved.data());
  EXPECT_EQ(Call(sel::kProcessSetChunk, process, FourCC("TAVO"),
                 static_cast<const SFicPlugInChunk*>(header)),
            0);
  uint8_t equal = 0;
  EXPECT_EQ(Call(sel::kProcessCompareChunk, process, FourCC("TAVO"),
                 static_cast<const SFicPlugInChunk*>(header), &equal),
            0);
  EXPECT_EQ(equal, 1);
  int32_t driveControl = 0;
  EXPECT_EQ(Call(sel::kProcessGetControlValue, process, int32_t{3}, &driveControl), 0);
  EXPECT_EQ(driveControl, 2147483647);

  // The editor: its rectangle, the view the process made, and a host window to open it in.
  SViewRect rect{};
  ASSERT_EQ(Call(sel::kProcessEditorRect, process, &rect), 0);
  EXPECT_EQ(rect.right - rect.left, 304);
  EXPECT_EQ(rect.bottom - rect.top, 416);
  void* view = nullptr;
  ASSERT_EQ(Call(sel::kProcessEditorView, process, &view), 0);
  ASSERT_NE(view, nullptr);
  int32_t width = 0, height = 0;
  EXPECT_EQ(Call(sel::kViewSize, view, &width, &height), 0);
  EXPECT_EQ(width, 304);
  EXPECT_EQ(height, 416);
  SPosixNativeWindow native{404, 516};
  int hostWindow = 0;
  standin::MapHostWindow(&hostWindow, &native);
  EXPECT_EQ(Call(sel::kProcessSetEditorWindow, process, static_cast<void*>(&hostWindow)), 0);
  EXPECT_EQ(Call(sel::kViewDraw, view, int32_t{0}, int32_t{0}, int32_t{304}, int32_t{416}), 0);
  EXPECT_EQ(Call(sel::kProcessSetEditorWindow, process, static_cast<void*>(nullptr)), 0);

  EXPECT_EQ(Call(sel::kGroupDestroyProcess, group_, process), 0);
  int32_t processes = -1;
  EXPECT_EQ(Call(sel::kGroupProcessCount, group_, &processes), 0);
  EXPECT_EQ(processes, 0);
  EXPECT_EQ(standin::UnregisteredMIDIClientCount(), 1);
  // The engine saw nothing a host would refuse along the way.
  EXPECT_EQ(standin::ErrorCount(), 0);
  EXPECT_EQ(standin::DigiExtErrorCount(), 0);
}

TEST_F(LoadedModule, ControlsSpeakToTheHostThroughTheirRoutines) {
  void* process = nullptr;
  ASSERT_EQ(Call(sel::kGroupCreateProcess, group_, int32_t{2}, int32_t{0}, &process), 0);
  void* bypass = nullptr;
  void* drive = nullptr;
  ASSERT_EQ(Call(sel::kProcessControl, process, int32_t{1}, &bypass), 0);
  ASSERT_EQ(Call(sel::kProcessControl, process, int32_t{3}, &drive), 0);
  EXPECT_EQ(Call(sel::kProcessControl, process, int32_t{10}, &drive), -7401);

  int32_t id = 0;
  EXPECT_EQ(Call(sel::kControlID, bypass, &id), 0);
  EXPECT_EQ(id, FourCC("bypa"));
  char text[32] = {};
  EXPECT_EQ(Call(sel::kControlFittedName, bypass, static_cast<char*>(text), int32_t{8}), 0);
  EXPECT_STREQ(text, "MastrByp");
  EXPECT_EQ(Call(sel::kControlDisplayText, drive, static_cast<char*>(text), int32_t{8},
                 int32_t{2147483647}),
            0);
  EXPECT_STREQ(text, "10.0");
  int32_t value = 0;
  EXPECT_EQ(Call(sel::kControlValueFromText, drive, static_cast<const char*>("10"), &value), 0);
  EXPECT_EQ(value, 2147483647);
  // A parse failure thrown inside the module comes back as a status.
  EXPECT_EQ(Call(sel::kControlValueFromText, drive, static_cast<const char*>("1 2"), &value),
            -7401);

  SHostString name{};
  EXPECT_EQ(Call(sel::kGroupManufacturerName, group_, &name, int32_t{4}), 0);
  EXPECT_EQ(std::string(name.text, name.length), "QnSl");
  EXPECT_EQ(Call(sel::kGroupDestroyProcess, group_, process), 0);
  // A destroyed process is no longer a valid target.
  int32_t count = 0;
  EXPECT_EQ(Call(sel::kProcessControlCount, process, &count), -7401);
}

TEST_F(LoadedModule, HostClientBracketFollowsTheInterfaceVersion) {
  void* process = nullptr;
  ASSERT_EQ(Call(sel::kGroupCreateProcess, group_, int32_t{2}, int32_t{0}, &process), 0);
  const size_t before = standin::ClientActivity().size();
  ASSERT_EQ(Call(sel::kProcessSetControlValue, process, int32_t{3}, int32_t{0}), 0);
  EXPECT_EQ(standin::ClientActivity().size(), before); // version 0: no bracket

  ASSERT_EQ(Call(sel::kGroupSetInterfaceVersion, group_, int32_t{100}), 0);
  ASSERT_EQ(Call(sel::kProcessSetControlValue, process, int32_t{3}, int32_t{5}), 0);
  const auto activity = standin::ClientActivity();
  ASSERT_EQ(activity.size(), before + 2);
  EXPECT_TRUE(activity[before].active);
  EXPECT_FALSE(activity[before + 1].active);
  ASSERT_EQ(Call(sel::kGroupSetInterfaceVersion, group_, int32_t{0}), 0);
  EXPECT_EQ(Call(sel::kGroupDestroyProcess, group_, process), 0);
}

// ---- The whole routine table ----

// Calls a selector's routine with its own argument types, every argument after the target zero
// or null.
template <uint32_t S, typename Fn = sel::RoutineFn<S>> struct ZeroCall;
template <uint32_t S, typename... A> struct ZeroCall<S, int32_t(HOSTABI_CALL*)(void*, A...)> {
  static int32_t Run(void* routine, void* target) {
    return reinterpret_cast<int32_t(HOSTABI_CALL*)(void*, A...)>(routine)(target, A{}...);
  }
};

template <typename Visit, size_t... I>
void ForEachSelector(Visit&& visit, std::index_sequence<I...>) {
  (visit.template operator()<sel::kRoutines[I].selector>(), ...);
}

int StandInErrors() {
  return standin::ErrorCount() + standin::DigiExtErrorCount() + standin::DSIErrorCount() +
         standin::DSPManagerErrorCount();
}

class LoadedModuleTable : public LoadedModule {
protected:
  void SetUp() override {
    LoadedModule::SetUp();
    ASSERT_EQ(Call(sel::kGroupTypeByIndex, group_, int32_t{2}, &stereo_), 0);
    ASSERT_EQ(Call(sel::kGroupCreateProcess, group_, int32_t{2}, int32_t{0}, &process_), 0);
    ASSERT_EQ(Call(sel::kProcessControl, process_, int32_t{3}, &drive_), 0);
    ASSERT_EQ(Call(sel::kProcessEditorView, process_, &view_), 0);
    ASSERT_NE(view_, nullptr);
  }
  void TearDown() override {
    Call(sel::kGroupSetInterfaceVersion, group_, int32_t{0});
    Call(sel::kGroupSkipEditorViews, group_, int32_t{0});
    EXPECT_EQ(Call(sel::kGroupDestroyProcess, group_, process_), 0);
    LoadedModule::TearDown();
  }
  void* TargetOf(sel::Target target) const {
    switch (target) {
    case sel::Target::Module:
      return nullptr;
    case sel::Target::Group:
      return group_;
    case sel::Target::Type:
      return stereo_;
    case sel::Target::Process:
      return process_;
    case sel::Target::Control:
      return drive_;
    case sel::Target::View:
      return view_;
    }
    return nullptr;
  }
  // Client activations seen at the DSP manager while the routine ran.
  template <typename F> size_t Activations(F&& call) {
    const size_t before = standin::ClientActivity().size();
    call();
    return (standin::ClientActivity().size() - before) / 2;
  }

  void* stereo_ = nullptr;
  void* process_ = nullptr;
  void* drive_ = nullptr;
  void* view_ = nullptr;
};

TEST_F(LoadedModuleTable, OnlyTheHolesAndUndefinedSelectorsHaveNoRoutine) {
  const std::vector<uint32_t> holes(std::begin(sel::kHoles), std::end(sel::kHoles));
  std::vector<uint32_t> selectors;
  for (uint32_t s = 0; s <= 176; ++s)
    selectors.push_back(s);
  selectors.push_back(0xFFFFFFFFu);
  int defined = 0;
  for (uint32_t s : selectors) {
    void* routine = reinterpret_cast<void*>(1);
    const int32_t status = getRoutine_(s, &routine);
    const bool hole = s >= 176 || std::find(holes.begin(), holes.end(), s) != holes.end();
    if (hole) {
      EXPECT_EQ(status, kErrUndefinedSelector) << s;
      EXPECT_EQ(routine, nullptr) << s;
    } else {
      EXPECT_EQ(status, 0) << s;
      EXPECT_NE(routine, nullptr) << s;
      EXPECT_NE(sel::Info(s), nullptr) << s; // the header describes every routine handed out
      ++defined;
    }
  }
  EXPECT_EQ(defined, 166);
  EXPECT_EQ(holes, (std::vector<uint32_t>{11, 13, 21, 26, 34, 60, 61, 106, 107, 174}));
}

TEST_F(LoadedModuleTable, RefusingRoutinesCheckTheirTargetAndTouchNothing) {
  standin::ClearDispatchedMessages();
  const size_t activity = standin::ClientActivity().size();
  int refused = 0;
  int foreign = 0;
  ForEachSelector(
      [&]<uint32_t S>() {
        constexpr sel::SRoutineInfo info = *sel::Info(S);
        if constexpr (info.answer == sel::Answer::Refused) {
          void* routine = nullptr;
          ASSERT_EQ(getRoutine_(S, &routine), 0);
          EXPECT_EQ(ZeroCall<S>::Run(routine, TargetOf(info.target)), kErrUnsupported) << info.name;
          EXPECT_EQ(ZeroCall<S>::Run(routine, &foreign), kErrGeneric) << info.name;
          EXPECT_EQ(ZeroCall<S>::Run(routine, nullptr), kErrGeneric) << info.name;
          ++refused;
        }
      },
      std::make_index_sequence<std::size(sel::kRoutines)>{});
  EXPECT_EQ(refused, 69);
  EXPECT_EQ(StandInErrors(), 0);
  EXPECT_TRUE(standin::DispatchedMessages().empty());
  EXPECT_EQ(standin::ClientActivity().size(), activity);
}

// A foreign handle is refused; null pointers and zeros on a live target are answered, never
// followed.
TEST_F(LoadedModuleTable, BoundRoutinesCheckWhatTheHostHandsThem) {
  int foreign = 0;
  ForEachSelector(
      [&]<uint32_t S>() {
        constexpr sel::SRoutineInfo info = *sel::Info(S);
        if constexpr (info.answer == sel::Answer::Bound) {
          void* routine = nullptr;
          ASSERT_EQ(getRoutine_(S, &routine), 0);
          if (info.target != sel::Target::Module) {
            EXPECT_EQ(ZeroCall<S>::Run(routine, &foreign), kErrGeneric) << info.name;
          }
          EXPECT_LE(ZeroCall<S>::Run(routine, TargetOf(info.target)), 2) << info.name;
        }
      },
      std::make_index_sequence<std::size(sel::kRoutines)>{});
  EXPECT_EQ(StandInErrors(), 0);
}

TEST_F(LoadedModuleTable, VersionedRoutinesChooseTheirBracketByInterfaceVersion) {
  struct Expectation {
    int32_t version;
    size_t always, above98, from100, never;
  };
  // Interface version 0 never brackets; 98 only the routines that always do; 99 adds the chunk
  // routines; 100 the editor routines too.
  for (const Expectation& e : {Expectation{0, 0, 0, 0, 0}, Expectation{98, 1, 0, 0, 0},
                               Expectation{99, 1, 1, 0, 0}, Expectation{100, 1, 1, 1, 0}}) {
    SCOPED_TRACE(e.version);
    ASSERT_EQ(Call(sel::kGroupSetInterfaceVersion, group_, e.version), 0);
    int32_t value = 0, size = 0;
    SViewRect rect{};
    EXPECT_EQ(Activations([&] {
                EXPECT_EQ(Call(sel::kProcessSetControlFromHost, process_, int32_t{3}, int32_t{0}),
                          0);
              }),
              e.always);
    EXPECT_EQ(Activations([&] {
                EXPECT_EQ(Call(sel::kProcessChunkSize, process_, FourCC("TAVO"), &size), 0);
              }),
              e.above98);
    EXPECT_EQ(Activations([&] { EXPECT_EQ(Call(sel::kProcessEditorRect, process_, &rect), 0); }),
              e.from100);
    EXPECT_EQ(Activations([&] {
                EXPECT_EQ(Call(sel::kProcessGetControlValue, process_, int32_t{3}, &value), 0);
              }),
              e.never);
  }
}

TEST_F(LoadedModuleTable, GroupAndTypeSetUpRoutines) {
  STypeInfo info{};
  ASSERT_EQ(Call(sel::kGroupTypeInfo, group_, int32_t{2}, &info), 0);
  EXPECT_EQ(info.typeID, FourCC("TAV2"));
  EXPECT_EQ(info.productID, FourCC("TAVO"));
  EXPECT_EQ(info.manufacturerID, FourCC("QnSl"));
  EXPECT_EQ(info.productNumber, 1);
  EXPECT_EQ(Call(sel::kGroupTypeInfo, group_, int32_t{3}, &info), kErrNotAnEffectType);

  // Code 41 brings its companions along on a real-time type.
  ASSERT_EQ(Call(sel::kTypeAddFeatureCode, stereo_, int32_t{41}), 0);
  for (int32_t code : {41, 30, 38}) {
    uint8_t present = 0;
    EXPECT_EQ(Call(sel::kTypeHasFeature, stereo_, code, &present), 0);
    EXPECT_EQ(present, 1) << code;
  }

  // A stem format without a channel count leaves the type as it was.
  int32_t stem = -1, channels = 0;
  EXPECT_EQ(Call(sel::kTypeSetStemFormats, stereo_, int32_t{13}, int32_t{1}, int32_t{0}),
            kErrGeneric);
  EXPECT_EQ(Call(sel::kTypeInputStem, stereo_, &stem), 0);
  EXPECT_EQ(stem, 1);
  ASSERT_EQ(Call(sel::kTypeSetStemFormats, stereo_, int32_t{1}, int32_t{1}, int32_t{0}), 0);
  EXPECT_EQ(Call(sel::kTypeInputChannels, stereo_, &channels), 0);
  EXPECT_EQ(channels, 2);

  int32_t kind = 0;
  ASSERT_EQ(Call(sel::kTypeSetProperty, stereo_, int32_t{5}, int32_t{-1}), 0);
  EXPECT_EQ(Call(sel::kTypeCapability, stereo_, int32_t{32}, &kind), 0);
  EXPECT_EQ(kind, 5);

  void* factory = nullptr;
  EXPECT_EQ(Call(sel::kTypeProcessFactory, stereo_, &factory), 0);
  EXPECT_NE(factory, nullptr);
  EXPECT_EQ(StandInErrors(), 0);
}

TEST_F(LoadedModuleTable, ContinuousControlsConvertRealValues) {
  double real = -1.0;
  EXPECT_EQ(Call(sel::kControlRealFromValue, drive_, int32_t{2147483647}, &real), 0);
  EXPECT_EQ(real, 10.0);
  EXPECT_EQ(Call(sel::kControlRealFromValue, drive_, int32_t{-2147483647 - 1}, &real), 0);
  EXPECT_EQ(real, 0.0);
  int32_t value = 1;
  EXPECT_EQ(Call(sel::kControlValueFromReal, drive_, 5.0, &value), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(Call(sel::kControlValueFromReal, drive_, 11.0, &value), 0);
  EXPECT_EQ(value, 2147483647);
  // The master bypass control is not continuous.
  void* bypass = nullptr;
  ASSERT_EQ(Call(sel::kProcessControl, process_, int32_t{1}, &bypass), 0);
  EXPECT_EQ(Call(sel::kControlRealFromValue, bypass, int32_t{0}, &real), kErrGeneric);
  EXPECT_EQ(Call(sel::kControlValueFromReal, bypass, 1.0, &value), kErrGeneric);
}

TEST_F(LoadedModuleTable, AHostThatSkipsEditorViewsMakesThemOnRequest) {
  ASSERT_EQ(Call(sel::kGroupSkipEditorViews, group_, int32_t{1}), 0);
  void* process = nullptr;
  ASSERT_EQ(Call(sel::kGroupCreateProcess, group_, int32_t{1}, int32_t{0}, &process), 0);
  void* view = reinterpret_cast<void*>(1);
  EXPECT_EQ(Call(sel::kProcessEditorView, process, &view), 0);
  EXPECT_EQ(view, nullptr);
  void* made = nullptr;
  ASSERT_EQ(Call(sel::kProcessCreateEditorView, process, &made), 0);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(Call(sel::kProcessEditorView, process, &view), 0);
  EXPECT_EQ(view, made);
  void* again = nullptr;
  EXPECT_EQ(Call(sel::kProcessCreateEditorView, process, &again), 0);
  EXPECT_EQ(again, made); // one view per process
  int32_t width = 0, height = 0;
  EXPECT_EQ(Call(sel::kViewSize, made, &width, &height), 0);
  EXPECT_EQ(width, 304);
  EXPECT_EQ(Call(sel::kGroupDestroyProcess, group_, process), 0);
}

TEST_F(LoadedModuleTable, TheHostDrivesTheEditorThroughItsView) {
  uint8_t drew = 1;
  // No window yet: nothing to tick and no frame to read.
  EXPECT_EQ(Call(sel::kViewTimerTick, view_, &drew), 0);
  EXPECT_EQ(drew, 0);
  std::vector<uint32_t> pixels(304 * 416, 0);
  EXPECT_EQ(Call(sel::kViewReadFrame, view_, pixels.data(), int32_t{304}, int32_t{416}),
            kErrGeneric);

  SPosixNativeWindow native{304, 416};
  int hostWindow = 0;
  standin::MapHostWindow(&hostWindow, &native);
  ASSERT_EQ(Call(sel::kProcessSetEditorWindow, process_, static_cast<void*>(&hostWindow)), 0);
  int32_t period = 0;
  EXPECT_EQ(Call(sel::kViewTimerPeriod, view_, &period), 0);
  EXPECT_GT(period, 0);
  EXPECT_EQ(Call(sel::kViewTimerTick, view_, &drew), 0);
  EXPECT_EQ(drew, 1);
  ASSERT_EQ(Call(sel::kViewReadFrame, view_, pixels.data(), int32_t{304}, int32_t{416}), 0);
  EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0; }),
            304 * 416 / 2);
  EXPECT_EQ(Call(sel::kViewReadFrame, view_, pixels.data(), int32_t{300}, int32_t{416}),
            kErrGeneric);

  // Drag the Drive knob up: the control moves and the knob is drawn again.
  int32_t before = 0, after = 0;
  ASSERT_EQ(Call(sel::kProcessGetControlValue, process_, int32_t{3}, &before), 0);
  EXPECT_EQ(Call(sel::kViewMouseDown, view_, int32_t{84}, int32_t{168}, sel::kModLeftButton), 0);
  EXPECT_EQ(Call(sel::kViewMouseDrag, view_, int32_t{84}, int32_t{128}, sel::kModLeftButton), 0);
  EXPECT_EQ(Call(sel::kViewMouseUp, view_, int32_t{84}, int32_t{128}, int32_t{0}), 0);
  ASSERT_EQ(Call(sel::kProcessGetControlValue, process_, int32_t{3}, &after), 0);
  EXPECT_GT(after, before);
  EXPECT_EQ(Call(sel::kViewTimerTick, view_, &drew), 0);
  EXPECT_EQ(drew, 1);

  EXPECT_EQ(Call(sel::kProcessSetEditorWindow, process_, static_cast<void*>(nullptr)), 0);
  EXPECT_EQ(StandInErrors(), 0);
}

TEST_F(LoadedModule, HostDrivenOpenRefusesAnyValueBut73) {
  auto winOpen = reinterpret_cast<WinOpenFn>(dlsym(module_, "WinPlugInOpen"));
  ASSERT_NE(winOpen, nullptr);
  EXPECT_EQ(winOpen(72), -1);
  // Nothing changed: the same group, and processes still make their own editor views.
  void* group = nullptr;
  ASSERT_EQ(Call<void**>(sel::kModuleGroup, nullptr, &group), 0);
  EXPECT_EQ(group, group_);
  void* process = nullptr;
  ASSERT_EQ(Call(sel::kGroupCreateProcess, group_, int32_t{1}, int32_t{0}, &process), 0);
  void* view = nullptr;
  EXPECT_EQ(Call(sel::kProcessEditorView, process, &view), 0);
  EXPECT_NE(view, nullptr);
  EXPECT_EQ(Call(sel::kGroupDestroyProcess, group_, process), 0);
}

// A module deep in the file system: its resource file is named by the whole path.
TEST(LoadedModuleFile, AModulePathOf300CharactersNamesItsResourceFileWhole) {
  standin::ResetAll();
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("tavo-path-" + std::to_string(getpid()));
  fs::path folder = root;
  while (folder.string().size() < 300 - 8)
    folder /= std::string(std::min<size_t>(100, 300 - 8 - folder.string().size()), 'd');
  fs::create_directories(folder);
  const fs::path file = folder / "TAVO.so";
  fs::copy_file(TAVO_MODULE_FILE, file, fs::copy_options::overwrite_existing);
  ASSERT_GE(file.string().size(), 300u);

  void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  ModuleProc open = standin::RegisteredOpenProc();
  ModuleProc close = standin::RegisteredCloseProc();
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open(), 0);
  EXPECT_EQ(close(), 0);
  dlclose(module);
  fs::remove_all(root);

  const auto events = standin::ResourceFileEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].path, file.string() + ".rsr");
  EXPECT_EQ(events[1].path, file.string() + ".rsr");
  EXPECT_FALSE(events[1].open);
  EXPECT_EQ(standin::DigiExtErrorCount(), 0);
}

} // namespace
