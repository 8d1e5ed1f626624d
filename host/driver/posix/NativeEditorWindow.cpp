// No window system: the editor is offscreen and reached through its port.

#include "host/driver/NativeEditorWindow.h"

namespace tavo::host::native {

void* CreateHostWindow(int32_t, int32_t) {
  return nullptr;
}
void DestroyHostWindow(void*) {}
void* FindEditorWindow(void*) {
  return nullptr;
}
bool PumpOneTick(void*) {
  return false;
}
int32_t TimerPeriodMs(void*) {
  return 0;
}
bool SendEvent(void*, int32_t, int32_t, int32_t, int32_t, int32_t) {
  return false;
}
bool SetDisplayScale(void*, void*, int32_t) {
  return false;
}
bool ReadFrame(void*, std::vector<uint32_t>&, int32_t&, int32_t&) {
  return false;
}

} // namespace tavo::host::native
