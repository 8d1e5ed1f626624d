// The plug-in base: state chunks, preset slots and the preset dumps.

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/FixedText.h"
#include "framework/Base64.h"
#include "framework/IPlugBase.h"
#include "framework/Trace.h"

namespace tavo {

namespace {
constexpr double kUnsetMarker = 9.999e-8; // "no value given" in MakePresetFromNamedParams
constexpr const char* kUserPreset = "user preset";
} // namespace

bool IPlugBase::SerializeParams(IStateChunk* chunk) {
  std::lock_guard guard(lock);
  bool ok = true;
  for (int i = 0; i < NParams() && ok; ++i) {
    IParameter* param = GetParam(i);
    Trace("IPlugBase::SerializeParams", __LINE__, "%d %s %f", i, param->GetName(), param->Value());
    ok = chunk->PutDouble(param->Value()) > 0;
  }
  return ok;
}

int IPlugBase::UnserializeParams(const IStateChunk* chunk, int pos) {
  std::lock_guard guard(lock);
  for (int i = 0; i < NParams() && pos >= 0; ++i) {
    IParameter* param = GetParam(i);
    Trace("IPlugBase::UnserializeParams", __LINE__, "%d %s %f", i, param->GetName(),
          param->Value());
    double v = 0.0;
    pos = chunk->GetDouble(&v, pos);
    if (pos < 0) v = 0.0;
    param->SetValueClamped(v);
  }
  for (int i = 0; i < NParams(); ++i)
    ParamChanged(i);
  return pos;
}

bool IPlugBase::StateEquals(const double* values, int startIdx) const {
  if (!values || startIdx < 0) return false;
  for (int i = 0; i < NParams(); ++i) {
    const float mine = static_cast<float>(GetParam(i)->Value());
    const float theirs = static_cast<float>(values[startIdx + i]);
    if (!(std::fabs(mine - theirs) < 0.00001f)) return false;
  }
  return true;
}

IPresetSlot* IPlugBase::FreeSlot() const {
  for (IPresetSlot* slot : presets_) {
    if (!slot->initialized) return slot;
  }
  return nullptr;
}

void IPlugBase::MakeDefaultPresets(const char* name, int count) {
  for (int i = 0; i < count; ++i) {
    IPresetSlot* slot = FreeSlot();
    if (!slot) return;
    slot->initialized = true;
    CopyText(slot->name, name ? name : "Empty");
    SaveState(&slot->chunk);
  }
}

void IPlugBase::FillEmptyPresets() {
  MakeDefaultPresets("Empty", NPresets());
}

void IPlugBase::MakePresetFromValues(const char* name, ...) {
  IPresetSlot* slot = FreeSlot();
  if (!slot) return;
  slot->initialized = true;
  CopyText(slot->name, name);
  va_list args;
  va_start(args, name);
  for (int i = 0; i < NParams(); ++i) {
    // Discrete kinds come in as int, promoted the way C passes them; Double ones as double.
    const double v =
        GetParam(i)->Kind() == ParamKind::Double ? va_arg(args, double) : va_arg(args, int);
    slot->chunk.PutDouble(v);
  }
  va_end(args);
}

void IPlugBase::MakePresetFromNamedParams(const char* name, int nPairs, ...) {
  IPresetSlot* slot = FreeSlot();
  if (!slot) return;
  slot->initialized = true;
  CopyText(slot->name, name);

  std::vector<double> values(static_cast<size_t>(NParams()), kUnsetMarker);
  va_list args;
  va_start(args, nPairs);
  for (int pair = 0; pair < nPairs; ++pair) {
    const int idx = va_arg(args, int);
    const IParameter* param = GetParam(idx);
    // The type of the value that follows depends on the parameter; with an unknown index it
    // cannot be read, so the rest of the list is dropped rather than misread.
    if (!param) break;
    values[static_cast<size_t>(idx)] =
        param->Kind() == ParamKind::Double ? va_arg(args, double) : va_arg(args, int);
  }
  va_end(args);

  for (int i = 0; i < NParams(); ++i) {
    const double v = values[static_cast<size_t>(i)];
    slot->chunk.PutDouble(v == kUnsetMarker ? GetParam(i)->Value() : v);
  }
}

void IPlugBase::MakePresetFromChunk(const char* name, const IStateChunk* chunk) {
  IPresetSlot* slot = FreeSlot();
  if (!slot || !chunk) return;
  slot->initialized = true;
  CopyText(slot->name, name);
  slot->chunk.PutChunk(*chunk);
}

void IPlugBase::MakePresetFromBlob(const char* name, const char* base64, int size) {
  if (size < 0) return;
  std::vector<uint8_t> bytes(static_cast<size_t>(size), 0);
  Base64Decode(base64, bytes);
  IStateChunk chunk;
  chunk.PutBytes(bytes.data(), size);
  MakePresetFromChunk(name, &chunk);
}

void IPlugBase::NextUserPresetName(char* out, size_t outSize) const {
  int count = 0;
  for (const IPresetSlot* slot : presets_) {
    if (std::strstr(slot->name, kUserPreset)) ++count;
  }
  std::snprintf(out, outSize, "%s %d", kUserPreset, count + 1);
}

bool IPlugBase::RestorePreset(int idx) {
  IPresetSlot* slot = presets_.Get(idx);
  if (!slot) return false;
  bool restored = false;
  if (slot->initialized) {
    restored = LoadState(&slot->chunk, 0) > 0;
  } else {
    slot->initialized = true;
    NextUserPresetName(slot->name, sizeof slot->name);
    restored = SaveState(&slot->chunk);
  }
  if (restored) {
    currentPreset_ = idx;
    OnPresetRestored();
    RefreshEditorParams();
  }
  return restored;
}

bool IPlugBase::RestorePresetByName(const char* name) {
  if (!name || !name[0]) return false;
  for (int i = 0; i < NPresets(); ++i) {
    if (std::strcmp(presets_.Get(i)->name, name) == 0) return RestorePreset(i);
  }
  return false;
}

const char* IPlugBase::PresetName(int idx) const {
  const IPresetSlot* slot = presets_.Get(idx);
  return slot ? slot->name : "";
}

void IPlugBase::ModifyCurrentPreset(const char* name) {
  IPresetSlot* slot = presets_.Get(currentPreset_);
  if (!slot) return;
  slot->chunk.Clear();
  Trace("IPlugBase::ModifyCurrentPreset", __LINE__, "%d %s", currentPreset_, slot->name);
  SaveState(&slot->chunk);
  if (name && name[0]) CopyText(slot->name, name);
}

void IPlugBase::PruneEmptyPresets() {
  for (int i = NPresets() - 1; i >= 0; --i) {
    if (!presets_.Get(i)->initialized) presets_.Delete(i);
  }
}

bool IPlugBase::SerializePresets(IStateChunk* chunk) {
  bool ok = true;
  for (int i = 0; i < NPresets() && ok; ++i) {
    const IPresetSlot* slot = presets_.Get(i);
    ok = chunk->PutString(slot->name) > 0;
    Trace("IPlugBase::SerializePresets", __LINE__, "%d %s", i, slot->name);
    ok = ok && chunk->PutBool(slot->initialized) > 0;
    if (ok && slot->initialized) ok = chunk->PutChunk(slot->chunk) > 0 || slot->chunk.Size() == 0;
  }
  return ok;
}

int IPlugBase::UnserializePresets(const IStateChunk* chunk, int pos) {
  if (!chunk) return -1;
  GrowableText name; // one text buffer for every slot
  for (int i = 0; i < NPresets() && pos >= 0; ++i) {
    IPresetSlot* slot = presets_.Get(i);
    pos = chunk->GetString(&name, pos);
    bool initialized = slot->initialized; // a failed read leaves the flag
    pos = chunk->GetBool(&initialized, pos);
    // A bank that fails before its first slot's name and flag are read (an empty chunk, say) is
    // no bank: it changes nothing, neither that slot's name nor, through the restore of the
    // current preset below, the values the user has been editing.
    if (i == 0 && pos < 0) return pos;
    CopyText(slot->name, name.Get());
    Trace("IPlugBase::UnserializePresets", __LINE__, "%d %s", i, slot->name);
    slot->initialized = initialized;
    if (pos >= 0 && slot->initialized) {
      pos = LoadState(chunk, pos);
      if (pos > 0) {
        slot->chunk.Clear();
        SaveState(&slot->chunk);
      }
    }
  }
  RestorePreset(currentPreset_);
  return pos;
}

bool IPlugBase::DumpPresetSource(const char* path, const char* const* paramNames) {
  std::FILE* file = path ? std::fopen(path, "w") : nullptr;
  if (!file) return false;
  std::fprintf(file, "  MakePresetFromNamedParams(\"name\", %d", NParams());
  for (int i = 0; i < NParams(); ++i) {
    const IParameter* param = GetParam(i);
    char value[64];
    switch (param->Kind()) {
    case ParamKind::Bool:
      CopyText(value, param->Value() >= 0.5 ? "true" : "false");
      break;
    case ParamKind::Int:
    case ParamKind::Enum:
      std::snprintf(value, sizeof value, "%d", static_cast<int>(param->Value()));
      break;
    default:
      std::snprintf(value, sizeof value, "%.6f", param->Value());
      break;
    }
    const char* paramName = paramNames && paramNames[i] ? paramNames[i] : "";
    std::fprintf(file, ",\n    %s, %s", paramName, value);
  }
  std::fprintf(file, ");\n");
  return std::fclose(file) == 0;
}

bool IPlugBase::DumpPresetBlob(const char* path) {
  const IPresetSlot* slot = presets_.Get(currentPreset_);
  std::FILE* file = path ? std::fopen(path, "w") : nullptr;
  if (!file) return false;
  // The text is sized to the chunk, however long the state is.
  const std::string text = slot ? Base64Encode(slot->chunk.Bytes()) : std::string();
  std::fprintf(file, "MakePresetFromBlob(\"name\", \"");
  std::fprintf(file, "%s\", %i);\n", text.c_str(), slot ? slot->chunk.Size() : 0);
  return std::fclose(file) == 0;
}

} // namespace tavo
