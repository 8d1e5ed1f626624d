#include "module/TAVORTAS.h"

namespace tavo {

template class TAVOPlug<IPlugRTAS>;

std::unique_ptr<TAVORTAS> CreateTAVO() {
  return MakeTAVO<IPlugRTAS>();
}

} // namespace tavo
