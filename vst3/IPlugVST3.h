#pragma once
// The plug-in base for VST 3 hosts. The effect derives from it (TAVOPlug<IPlugVST3>,
// vst3/TAVOVST3.h); the processor and the edit controller (vst3/Processor.h, vst3/Controller.h)
// are the objects the host holds, and each owns an instance of its own: the processor's renders,
// the controller's carries the values, texts and editor the host's controller calls see. The two
// instances share nothing, so the controller's thread and the audio thread never meet in one.
//
// On the processor's instance the audio thread's process call holds the processing lock for the
// whole block; state restores (the host's main thread, possibly while process runs) take the
// same lock, so a block never sees a half-restored state.

#include <cstdint>
#include <vector>

#include "framework/IPlugBase.h"
#include "vst3/abi/Controller.h"
#include "vst3/abi/Processing.h"

namespace tavo {

class IPlugVST3 : public IPlugBase {
public:
  static constexpr int kInitialBlockSize = 1024;
  // A host announcing longer blocks gets them processed in pieces of this size: the scratch
  // buffers never follow an announcement without bound.
  static constexpr int kLargestScratch = 8192;

  // [main thread] The base's arguments, without the interface kind.
  IPlugVST3(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* makerName, int effectVersion, int uniqueID,
            int makerID, int latency, int ignored = 0, bool stateIsOpaque = false,
            bool spareFlag = false);
  ~IPlugVST3() override = default;

  // ---- The processor's instance ----

  // [main thread · inactive] 1 (mono) or 2 (stereo) channels in and out; false for any other
  // count, which leaves the channels as they were.
  bool SetChannels(int channels);
  int Channels() const { return channels_; }
  // [main thread · inactive] The host's rate, longest block and sample size. A rate that is not
  // a finite number, a block of no frames or a sample size other than 32 or 64 bits is refused;
  // any finite rate is taken, and served as the effect serves it.
  bool Setup(const vst3::ProcessSetup& setup);
  // [main thread · takes the processing lock] Activation sizes everything for the longest block
  // and starts from a fresh history.
  void SetActive(bool active);
  // [audio thread · takes the processing lock · no allocation] One block: parameter changes at
  // their sample offsets (the block is split at each point), the audio in the sample size the
  // block names (32 or 64 bits, whichever was set up). A block of 0 frames only takes the
  // changes; missing buffers or fewer channels than the arrangement get no audio rendered
  // (outputs that are there are silenced); buses wider than the arrangement are taken, their
  // spare outputs silenced. False only for a block that could not be read.
  bool Process(vst3::ProcessData& data);

  // [main thread · takes the processing lock] The state: one little-endian double per parameter,
  // written through the host's stream. False when the stream takes fewer bytes.
  bool WriteState(vst3::IBStream* stream);
  // [any thread but audio · takes the processing lock] Reads exactly one state, however many
  // reads the stream needs. A stream that is short, longer (another plug-in's), or holds a value
  // that is not a finite number is refused: false, and the instance stays as it was.
  bool ReadState(vst3::IBStream* stream);

  // ---- The controller's instance ----

  // [main thread] The host's component handler, which hears the editor's gestures; not owned
  // (the controller holds the reference). Null detaches it.
  void SetComponentHandler(vst3::IComponentHandler* handler) { handler_ = handler; }
  // [main thread · takes the processing lock] The host moved parameter `id` to a normalised
  // value: the editor follows, nothing is echoed back. Unknown identifiers and NaN are ignored.
  bool SetNormalized(vst3::ParamID id, double normalized);
  double Normalized(vst3::ParamID id) const;
  // [main thread] The parameter's text for a normalised value, through its display texts.
  bool ValueText(vst3::ParamID id, double normalized, char16_t* out, int outUnits) const;
  // [main thread] A typed text as the editor's entry box reads it, as a normalised value.
  bool ValueFromText(vst3::ParamID id, const char16_t* text, double* normalized) const;

  // The parameter the host's bypass switch drives (-1: none).
  void SetBypassParam(int paramIdx) { bypassParam_ = paramIdx; }
  int BypassParam() const { return bypassParam_; }

  // ---- IPlugBase operations that reach the host: the editor's gestures go to the component
  // handler; the rest of the host side keeps the base's defaults. ----
  void BeginHostEdit(int paramIdx) override;
  void SendParamToHost(int paramIdx, double normalized) override;
  void EndHostEdit(int paramIdx) override;

private:
  // One host queue being read, with the index of its next point.
  struct QueueCursor {
    vst3::IParamValueQueue* queue;
    int param;
    int32_t next;
    int32_t count;
  };
  int GatherQueues(vst3::IParameterChanges* changes);
  void TakePointsUpTo(int cursors, int32_t offset);
  int32_t NextOffset(int cursors) const;
  bool BindAudio(const vst3::ProcessData& data);
  void RenderPiece(int32_t from, int32_t to);
  void SilenceOutputs(const vst3::ProcessData& data, int fromChannel);

  int channels_ = 2;
  int32_t maxBlock_ = kInitialBlockSize;
  double setupRate_ = 44100.0;
  int bypassParam_ = -1;
  vst3::IComponentHandler* handler_ = nullptr;
  std::vector<QueueCursor> cursors_; // one per parameter, sized at construction
  // The bound host channels of the block being processed.
  const vst3::AudioBusBuffers* in_ = nullptr;
  const vst3::AudioBusBuffers* out_ = nullptr;
  bool doubles_ = false;
};

} // namespace tavo
