#pragma once
// Which host loaded the plug-in: a small host code chosen from the host's name by an ordered
// table of lowercase name fragments, and a display name for each code. 0 means "unknown host";
// −1 (kept by the plug-in base) means "not asked yet".

#include <cstddef>
#include <cstdint>

namespace tavo {

inline constexpr int kHostUnknown = 0;
inline constexpr size_t kHostDisplayNameBytes = 19; // the longest name plus its terminator

// [any thread] The code of the first fragment found in the lowercased name, else 0. Only the
// first 255 characters of the name are examined; null counts as empty.
int LookUpHost(const char* name);

// [any thread] Writes the display name of a code ("Unknown" for codes without one) into out,
// cut to outSize − 1 characters and always terminated when outSize > 0.
void HostDisplayName(int code, char* out, size_t outSize);

// [any thread] The trace line the plug-in base emits when it learns its host:
// "host_known:<name>:v<major>.<minor>.<bugfix>", or "host_unknown:…" for code 0. The version is
// 0xMMMMmmbb. Cut to outSize − 1 characters and always terminated when outSize > 0.
void FormatHostTraceLine(int code, const char* name, int32_t version, char* out, size_t outSize);

} // namespace tavo
