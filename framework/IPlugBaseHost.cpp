// The plug-in base: which host it runs in.

#include "framework/HostIdentification.h"
#include "framework/IPlugBase.h"
#include "framework/Trace.h"

namespace tavo {

void IPlugBase::SetHost(const char* name, int version) {
  host_ = LookUpHost(name);
  hostVersion_ = version;
  char line[300];
  FormatHostTraceLine(host_, name, version, line, sizeof line);
  Trace("IPlugBase::SetHost", __LINE__, "%s", line);
}

} // namespace tavo
