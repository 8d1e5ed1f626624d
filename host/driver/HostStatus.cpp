#include "host/driver/HostStatus.h"

#include "hostlib/HostInterface.h"

namespace tavo::host {

namespace {

const char* Meaning(int32_t status) {
  using namespace hostabi;
  switch (status) {
  case kNoErr:
    return "no error";
  case kErrWrongOpenValue:
    return "the module refused to open for that value";
  case kErrNotAnEffectType:
    return "that index names no effect type";
  case kErrGroupAllocation:
    return "the module could not make its group";
  case kErrDSPListCreation:
    return "the module could not make its DSP lists";
  case kErrNoMatchingType:
    return "no type matches that description";
  case kErrDSPManagerVersion:
    return "the host's DSP manager reports an unusable version";
  case kErrNoHostClient:
    return "the module could not register as a client of the host";
  case kErrUnknownType:
    return "the query names no known type";
  case kErrChunk:
    return "the state chunk was refused (foreign identifier or bad size)";
  case kErrGeneric:
    return "the module refused the call (bad target, argument or text)";
  case kErrOutOfMemory:
    return "the module ran out of memory";
  case kErrUndefinedSelector:
    return "the module has no routine for that selector";
  case kErrModuleFile:
    return "the module file cannot be loaded";
  case kErrModuleExports:
    return "the module lacks an entry point a host needs";
  case kErrModuleNotOpen:
    return "the module opened without its group";
  case kErrNoSuchType:
    return "the module has no type for that channel count";
  case kErrNoRenderInstance:
    return "the process made no render instance";
  case kErrEngineRefusedBlock:
    return "the engine refused to render a block";
  case kErrEditorNotOpen:
    return "no editor window is open";
  case kErrBadArgument:
    return "bad argument";
  case kErrProcessClosed:
    return "the process's module has been closed";
  case kErrScaleNotSupported:
    return "the editor's window draws at one scale only";
  default:
    return nullptr;
  }
}

} // namespace

std::string StatusText(int32_t status) {
  const char* meaning = Meaning(status);
  std::string text = meaning ? meaning : "unknown status";
  return text + " (" + std::to_string(status) + ")";
}

} // namespace tavo::host
