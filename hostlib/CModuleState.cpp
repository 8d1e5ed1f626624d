#include "hostlib/CModuleState.h"

#include "hostlib/CHostEngine.h"

int16_t CModuleState::OpenModuleResourceFile(const char* path, hostabi::SwapResourceProc swap) {
  const int16_t file = CHostEngine::Get().OpenResourceFile(path, swap);
  moduleResourceFile_.store(file > 0 ? file : int16_t{0});
  return file;
}

void CModuleState::CloseModuleResourceFile(const char* path) {
  CHostEngine::Get().CloseResourceFile(path);
  moduleResourceFile_.store(0);
}

int16_t CModuleState::EnterResourceContext() {
  const CHostEngine& engine = CHostEngine::Get();
  const int16_t previous = engine.CurrentResourceFile();
  const int16_t mine = moduleResourceFile_.load();
  if (mine > 0 && mine != previous) engine.UseResourceFile(mine);
  return previous;
}

void CModuleState::LeaveResourceContext(int16_t previous) {
  const CHostEngine& engine = CHostEngine::Get();
  if (engine.CurrentResourceFile() != previous) engine.UseResourceFile(previous);
}
