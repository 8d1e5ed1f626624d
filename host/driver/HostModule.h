#pragma once
// A host's hold on one loaded module: the module file opened beside the engine stand-ins that
// the program links, reached only through its four exports and the routines its dispatcher
// hands out. It lists the group and its types and creates processes (HostProcess.h).
//
// Ownership: the HostModule closes the module and unloads it when it goes; processes still
// open then are closed first, in order (rendering stopped, editor window detached, process
// destroyed), and answer kErrProcessClosed from then on.

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "host/driver/HostStatus.h"
#include "hostlib/HostInterface.h"

namespace tavo::host {

class HostProcess;

// One processing type of the group, as its routines describe it.
struct TypeInfo {
  int32_t index = 0; // 1-based, as the group numbers its types
  int32_t typeID = 0;
  int32_t productID = 0;
  int32_t category = 0; // the host's category bits
  int32_t inputs = 0;
  int32_t outputs = 0;
  std::string name;
};

struct ModuleInfo {
  std::string manufacturer; // the longest name variant
  std::string product;
  int32_t manufacturerID = 0;
  std::string settingsPath;
  std::vector<TypeInfo> types;
};

struct ProcessOptions {
  int32_t channels = 2; // the process takes the type with this many inputs
  int32_t sampleRate = 44100;
  // Off: every block is the fixed quantum of 32 frames. On: blocks of any size up to
  // maximumQuantum, which the process sizes itself for.
  bool variableQuantum = false;
  int32_t maximumQuantum = 1024;
  // On: once the process is connected, the host sends every control its default value, as a
  // host that sets up the automation of a new insert does (the instance then hears each value
  // once). Off: the process is left exactly as the module made it.
  bool sendDefaults = true;
};

class HostModule {
public:
  using NewPlugInFn = int16_t(HOSTABI_CALL*)(int32_t);
  using WinPlugInOpenFn = int32_t(HOSTABI_CALL*)(int32_t);
  using WinPlugInCloseFn = int32_t(HOSTABI_CALL*)();
  using GetRoutineFn = int32_t(HOSTABI_CALL*)(uint32_t, void**);

  // The value a host hands WinPlugInOpen.
  static constexpr int32_t kOpenValue = 73;

  // [main thread · may block] Loads the module file and opens it through the procedures it
  // handed the engine while loading (through WinPlugInOpen when it handed none), then finds its
  // group. On failure out stays empty and, when given, detail gets the loader's words.
  static int32_t Load(const std::string& file, std::unique_ptr<HostModule>& out,
                      std::string* detail = nullptr);
  ~HostModule();
  HostModule(const HostModule&) = delete;
  HostModule& operator=(const HostModule&) = delete;

  // [main thread] The group's names, identifiers and types.
  int32_t Describe(ModuleInfo& info) const;
  // [main thread] The types alone.
  int32_t Types(std::vector<TypeInfo>& types) const;
  // [main thread · may block] Creates, initialises and connects a process of the type with
  // options.channels inputs, configured for the options' rate and quantum, and sends the
  // controls their defaults when the options ask for it.
  int32_t CreateProcess(const ProcessOptions& options, std::unique_ptr<HostProcess>& out);

  // ---- The binary interface as it is, for hosts and tests that go beyond the above ----
  // [any thread] The routine of a selector; a null routine with the dispatcher's status.
  int32_t Routine(uint32_t selector, void** routine) const;
  // [any thread] Runs the routine of a selector on a target with the operation's arguments
  // (their types as hostlib/HostInterface.h lists them); kErrUndefinedSelector without one.
  template <typename... A> int32_t Call(uint32_t selector, void* target, A... args) const {
    void* routine = nullptr;
    const int32_t status = Routine(selector, &routine);
    if (status != hostabi::kNoErr || !routine) return status;
    return reinterpret_cast<int32_t(HOSTABI_CALL*)(void*, A...)>(routine)(target, args...);
  }
  void* Group() const { return group_; }
  NewPlugInFn NewPlugIn() const { return newPlugIn_; }
  WinPlugInOpenFn WinPlugInOpen() const { return winOpen_; }
  WinPlugInCloseFn WinPlugInClose() const { return winClose_; }
  const std::string& File() const { return file_; }

private:
  friend class HostProcess;
  HostModule() = default;
  int32_t TypeInfoAt(int32_t index, TypeInfo& info) const;
  void Forget(HostProcess* process);

  std::string file_;
  void* library_ = nullptr;
  NewPlugInFn newPlugIn_ = nullptr;
  WinPlugInOpenFn winOpen_ = nullptr;
  WinPlugInCloseFn winClose_ = nullptr;
  GetRoutineFn getRoutine_ = nullptr;
  hostabi::ModuleProc close_ = nullptr; // the procedure the module was opened with, or null
  bool openedThroughWinPlugInOpen_ = false;
  void* group_ = nullptr;
  std::mutex processesLock_;
  std::set<HostProcess*> processes_; // open processes, closed with the module
};

} // namespace tavo::host
