#pragma once
// The host-independent base of every plug-in: it owns the parameters, the preset slots, the
// attached editor (through framework/IEditor.h), the legal channel configurations, the channel
// records through which host audio reaches the effect, the sample rate, block size and latency, and
// the processing lock.
//
// A host adaptor derives from it and drives it; the effect derives from the adaptor (or from
// IPlugWithoutHost, with no host) and overrides Reset, ParamChanged and ProcessDouble. Per audio
// block the adaptor holds `lock` across BindInputsFloat, BindOutputsFloat and RunProcess (or
// RunBypass).

#include <cstdint>
#include <memory>
#include <mutex>

#include "base/GrowableBuffer.h"
#include "framework/Channels.h"
#include "framework/IEditor.h"
#include "framework/IParameter.h"
#include "framework/IPresetSlot.h"
#include "framework/IStateChunk.h"
#include "framework/ITimeInfo.h"
#include "framework/LatencyDelay.h"

namespace tavo {

// Host interface kinds.
enum ApiKind : int32_t {
  kApiVST2 = 0,
  kApiVST3 = 1,
  kApiAU = 2,
  kApiRTAS = 3,
  kApiAAX = 4,
  kApiStandalone = 5
};

class IPlugBase {
public:
  static constexpr size_t kNameSize = 128; // effect, product and maker names: 127 characters

  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* makerName, int effectVersion, int uniqueID,
            int makerID, int latency, int ignored, bool stateIsOpaque, bool spareFlag, int api);
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Virtual operations, in slot order ----

  // [main thread] Deletes the attached editor first, then everything else the base owns.
  virtual ~IPlugBase();
  // [main thread · takes the processing lock] Re-initialise for the current sample rate.
  virtual void Reset();
  // [any thread · takes the processing lock] A parameter's value changed.
  virtual void ParamChanged(int paramIdx);
  // [audio thread · processing lock held] The block operation; the base passes input i to
  // output i and zeroes outputs without an input.
  virtual void ProcessDouble(double** inputs, double** outputs, int frames);
  virtual void ProcessFloat(float** inputs, float** outputs, int frames);
  virtual void OnEditorOpened() {}
  virtual void ReservedHook6() {}
  virtual void ReservedHook7() {}
  // [takes the processing lock] A per-parameter hook; the base only takes the lock.
  virtual void ReservedParamHook(int paramIdx);
  virtual bool HandleMessage(void* message) { return SendMessageToHost(message); }
  virtual void ReservedHook10(void*) {}
  virtual void EditorText(char* out, size_t outSize);
  // [main thread · takes the processing lock] State in the chunk layout: one double per param.
  virtual bool SaveState(IStateChunk* chunk) { return SerializeParams(chunk); }
  virtual int LoadState(const IStateChunk* chunk, int startPos) {
    return UnserializeParams(chunk, startPos);
  }
  virtual bool StateEquals(const double* values, int startIdx) const;
  virtual void OnEditorResizing() {}
  virtual bool ReservedQuery16() { return false; }
  virtual void OnHostAttached() {}
  virtual void OnHostContextMenu(int /*paramIdx*/, int /*x*/, int /*y*/) {}
  // [editor thread · takes the processing lock] The editor changed a parameter. A normalised
  // value outside 0 … 1 is taken at the nearer end; a NaN changes nothing.
  virtual void SetParameterFromGUI(int paramIdx, double normalized);
  // The host side: what the plug-in tells its host and asks of it. A format overrides the calls
  // its host has a use for; the rest keep these defaults, which tell nothing and answer a
  // transport standing still at its start.
  virtual void BeginHostEdit(int /*paramIdx*/) {}
  virtual void SendParamToHost(int /*paramIdx*/, double /*normalized*/) {}
  virtual void EndHostEdit(int /*paramIdx*/) {}
  virtual void SendAllParamsToHost() {}
  virtual bool ReservedQuery24() { return false; }
  virtual int SamplePosition() { return 0; }
  virtual double Tempo() { return 0.0; }
  virtual void TimeSignature(int* /*numerator*/, int* /*denominator*/) {}
  virtual void TimeInfo(ITimeInfo* /*info*/) {}
  virtual int HostKind() { return host_; }
  virtual int ApiKind() const { return api_; }
  virtual void ResizeEditor(int /*width*/, int /*height*/) {}
  virtual void ReservedHook32() {}
  // [main thread · takes the processing lock] Hands the editor to the plug-in, which owns it
  // from here on and deletes it with itself. A null editor is accepted and ignored.
  virtual void AttachEditor(std::unique_ptr<IEditor> editor);
  virtual void ConfigureLatency(int frames);
  virtual bool SendMessageToHost(void* /*message*/) { return false; }
  virtual bool ReservedQuery36(void*) { return false; }
  // [caller holds the processing lock or runs on the editor's side]
  virtual void RefreshEditorParams();
  virtual void NotifyStateChanged() {}
  virtual void OnPresetRestored() {}
  // [main thread · takes the processing lock · allocates] Sizes every scratch buffer.
  virtual void ConfigureBlockSize(int frames);
  // [main thread · takes the processing lock] Everything that depends on what was played before
  // starts over, as in a new instance with the same settings: what a format calls when its host
  // starts processing afresh (LV2's activate, VST 3's setActive(true)). The base clears its own
  // history (the bypass delay) and calls Reset, which suits a plug-in that keeps no history of
  // its own; a plug-in whose Reset keeps some on purpose overrides this.
  virtual void ClearHistory();

  // ---- Parameters ----
  int NParams() const { return params_.Count(); }
  IParameter* GetParam(int idx) const { return params_.Get(idx); }
  // [main thread · takes the processing lock] The host moved parameter i to a plain value: the
  // editor's controls follow first, then the parameter stores the value clamped to its range
  // (without rounding to the step) and the effect hears ParamChanged. Nothing is echoed back to
  // the host. An index outside the parameters changes nothing.
  void SetParameterFromHost(int paramIdx, double plain);

  // ---- Channels and configurations ----
  int NInChannels() const { return inputs_.Count(); }
  int NOutChannels() const { return outputs_.Count(); }
  int NIOConfigs() const { return ioConfigs_.Count(); }
  const IOConfig* GetIOConfig(int idx) const { return ioConfigs_.Get(idx); }
  bool LegalIO(int nIn, int nOut) const; // negative counts match any
  void ConnectInputs(int first, int count, bool connected);
  void ConnectOutputs(int first, int count, bool connected);
  bool InputConnected(int idx) const;
  bool OutputConnected(int idx) const;
  void SetInputLabel(int idx, const char* label);
  void SetOutputLabel(int idx, const char* label);
  const char* InputLabel(int idx) const;
  const char* OutputLabel(int idx) const;

  // [audio thread · processing lock held · no allocation] The per-block sequence. Blocks longer
  // than the block size are processed in pieces of at most the block size; before any block size
  // is configured a block is refused, and every connected output is written with silence.
  void BindInputsFloat(int first, int count, float** data, int frames);
  void BindInputsDouble(int first, int count, double** data);
  void BindOutputsFloat(int first, int count, float** data);
  void BindOutputsDouble(int first, int count, double** data);
  void RunProcess(int frames);
  void RunBypass(int frames);
  void ClearScratch(); // [processing lock held] zeroes every scratch buffer

  // ---- Rate, block size, latency ----
  void ConfigureSampleRate(double sampleRate) { sampleRate_ = sampleRate; }
  double SampleRate() const { return sampleRate_; }
  int BlockSize() const { return blockSize_; }
  int Latency() const { return latency_; }
  double SamplesPerBeat();
  LatencyDelay* GetLatencyDelay() const { return latencyDelay_.get(); }

  // ---- Identity ----
  const char* EffectName() const { return effectName_; }
  const char* ProductName() const { return productName_; }
  const char* MakerName() const { return makerName_; }
  int UniqueID() const { return uniqueID_; }
  int MakerID() const { return makerID_; }
  int EffectVersion(bool decimal) const;
  void EffectVersionText(char* out, size_t outSize) const;
  int HostVersion(bool decimal);
  void HostVersionText(char* out, size_t outSize);
  const char* ApiName() const;
  static const char* ArchName() { return "x86"; }
  // Identifies the host by name (see framework/HostIdentification.h) and records its version.
  void SetHost(const char* name, int version);
  bool StateIsOpaque() const { return stateIsOpaque_; }

  // ---- State and presets ----
  bool SerializeParams(IStateChunk* chunk);
  int UnserializeParams(const IStateChunk* chunk, int pos);
  bool SerializePresets(IStateChunk* chunk);
  // Reads slot after slot, each taking its state as the current one, then restores the current
  // preset; answers the end position or -1. A bank that fails before its first slot's name and
  // flag are read changes nothing; after that a short state restores what it carries and sets
  // the first missing value to 0 clamped into its range.
  int UnserializePresets(const IStateChunk* chunk, int pos);
  void MakeDefaultPresets(const char* name, int count);
  void FillEmptyPresets();
  void MakePresetFromValues(const char* name, ...);
  void MakePresetFromNamedParams(const char* name, int nPairs, ...);
  void MakePresetFromChunk(const char* name, const IStateChunk* chunk);
  void MakePresetFromBlob(const char* name, const char* base64, int size);
  bool RestorePreset(int idx);
  bool RestorePresetByName(const char* name);
  const char* PresetName(int idx) const;
  int NPresets() const { return presets_.Count(); }
  int CurrentPreset() const { return currentPreset_; }
  IPresetSlot* GetPreset(int idx) const { return presets_.Get(idx); }
  void ModifyCurrentPreset(const char* name = nullptr);
  void PruneEmptyPresets();
  // [main thread] Text dumps of the current state, for building presets into the source. They
  // answer false when the file cannot be written.
  bool DumpPresetSource(const char* path, const char* const* paramNames);
  bool DumpPresetBlob(const char* path);

  // ---- Editor ----
  // The attached editor, or null. Layers that know the graphics core reach it with GraphicsOf.
  IEditor* GetGUI() const { return editor_.get(); }

  // The processing lock, recursive: Reset and ParamChanged may be called while it is held.
  std::recursive_mutex lock;

protected:
  // [main thread · allocates] What a host adaptor does before its host calls: creates the latency
  // delay when the plug-in has inputs, connects every channel and sizes the scratch buffers for
  // blocks of `blockSize` frames.
  void ConnectAllChannels(int blockSize);

  int32_t host_ = -1;
  int32_t hostVersion_ = 0;

private:
  void ConvertOutputs(int offset, int frames);
  void SilenceOutputs(int frames); // a refused block: zeros into every bound host output
  void BindPiece(int offset, int frames);
  IPresetSlot* FreeSlot() const;
  void NextUserPresetName(char* out, size_t outSize) const;

  OwnedList<IOConfig> ioConfigs_;
  char effectName_[kNameSize] = {};
  char productName_[kNameSize] = {};
  char makerName_[kNameSize] = {};
  int32_t uniqueID_ = 0;
  int32_t makerID_ = 0;
  int32_t effectVersion_ = 0;
  int32_t api_ = 0;
  bool stateIsOpaque_ = false;
  bool spareFlag_ = false;
  int32_t currentPreset_ = 0;
  double sampleRate_ = 44100.0;
  int32_t blockSize_ = 0;
  int32_t latency_ = 0;

protected:
  // Created by the host adaptor when the plug-in has inputs.
  std::unique_ptr<LatencyDelay> latencyDelay_;

private:
  std::unique_ptr<IEditor> editor_; // from AttachEditor on
  OwnedList<IParameter> params_;
  OwnedList<IPresetSlot> presets_;
  GrowableArray<double*> inputPtrs_;
  GrowableArray<double*> outputPtrs_;
  OwnedList<InputChannel> inputs_;
  OwnedList<OutputChannel> outputs_;
};

} // namespace tavo
