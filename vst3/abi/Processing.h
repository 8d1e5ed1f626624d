#pragma once
// The processor's side: the component (buses, activation, state) and the audio processor
// (arrangements, set-up, process), with the structures a process call carries and the host's
// parameter-change queues.

#include <cstddef>
#include <cstdint>

#include "vst3/abi/Unknown.h"

namespace tavo::vst3 {

enum MediaType : int32_t { kAudio = 0, kEvent = 1 };
enum BusDirection : int32_t { kInput = 0, kOutput = 1 };
enum BusType : int32_t { kMain = 0, kAux = 1 };
enum SymbolicSampleSize : int32_t { kSample32 = 0, kSample64 = 1 };
enum ProcessMode : int32_t { kRealtime = 0, kPrefetch = 1, kOffline = 2 };

using SpeakerArrangement = uint64_t; // one bit per speaker; channels in increasing bit order
inline constexpr SpeakerArrangement kArrMono = 0x80000; // M
inline constexpr SpeakerArrangement kArrStereo = 0x3;   // L R
inline constexpr uint32_t kNoTail = 0;

struct BusInfo {
  enum Flags : uint32_t { kDefaultActive = 1 };
  int32_t mediaType;
  int32_t direction;
  int32_t channelCount;
  char16_t name[128];
  int32_t busType;
  uint32_t flags;
};
static_assert(sizeof(BusInfo) == 276 && alignof(BusInfo) == 4);

struct RoutingInfo {
  int32_t mediaType;
  int32_t busIndex;
  int32_t channel;
};
static_assert(sizeof(RoutingInfo) == 12);

struct ProcessSetup {
  int32_t processMode;
  int32_t symbolicSampleSize;
  int32_t maxSamplesPerBlock;
  double sampleRate;
};
static_assert(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8);
static_assert(offsetof(ProcessSetup, sampleRate) == 16); // 32-bit Windows aligns doubles to 8 too

struct AudioBusBuffers {
  int32_t numChannels;
  uint64_t silenceFlags; // bit n: channel n is all zeros
  union {
    float** channelBuffers32;
    double** channelBuffers64;
  };
};
static_assert(sizeof(AudioBusBuffers) == 24 && alignof(AudioBusBuffers) == 8);
// The channel pointers sit after the 64-bit flags on every target, 4 bytes of padding after them
// where pointers are 4 bytes wide.
static_assert(offsetof(AudioBusBuffers, silenceFlags) == 8 &&
              offsetof(AudioBusBuffers, channelBuffers32) == 16);

// One queue per changed parameter; its points are sorted by their offset in the block and carry
// normalised values.
struct IParamValueQueue : FUnknown {
  static constexpr Uid kIid = MakeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
  virtual ParamID TAVO_VST3_CALL getParameterId() = 0;
  virtual int32_t TAVO_VST3_CALL getPointCount() = 0;
  virtual tresult TAVO_VST3_CALL getPoint(int32_t index, int32_t& sampleOffset, double& value) = 0;
  virtual tresult TAVO_VST3_CALL addPoint(int32_t sampleOffset, double value, int32_t& index) = 0;
};

struct IParameterChanges : FUnknown {
  static constexpr Uid kIid = MakeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
  virtual int32_t TAVO_VST3_CALL getParameterCount() = 0;
  virtual IParamValueQueue* TAVO_VST3_CALL getParameterData(int32_t index) = 0;
  virtual IParamValueQueue* TAVO_VST3_CALL addParameterData(const uint32_t& id, int32_t& index) = 0;
};

struct IEventList;     // TAVO has no event buses and never reads one
struct ProcessContext; // TAVO asks for no transport information

struct ProcessData {
  int32_t processMode;
  int32_t symbolicSampleSize;
  int32_t numSamples;
  int32_t numInputs;
  int32_t numOutputs;
  AudioBusBuffers* inputs; // one per bus, in bus order
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges; // these five may be null
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};
// The pointers follow the five numbers: at 20 and on in 4-byte steps on 32-bit Windows, at 24 and
// on in 8-byte steps where pointers are 8 bytes wide.
inline constexpr size_t kPointerBytes = sizeof(void*);
static_assert(kPointerBytes == 4 || kPointerBytes == 8);
static_assert(sizeof(ProcessData) == (kPointerBytes == 8 ? 80 : 48) &&
              alignof(ProcessData) == kPointerBytes);
static_assert(offsetof(ProcessData, inputs) == (kPointerBytes == 8 ? 24 : 20) &&
              offsetof(ProcessData, outputs) == (kPointerBytes == 8 ? 32 : 24) &&
              offsetof(ProcessData, inputParameterChanges) == (kPointerBytes == 8 ? 40 : 28) &&
              offsetof(ProcessData, processContext) == (kPointerBytes == 8 ? 72 : 44));

struct IComponent : IPluginBase {
  static constexpr Uid kIid = MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
  virtual tresult TAVO_VST3_CALL getControllerClassId(TUID classId) = 0;
  virtual tresult TAVO_VST3_CALL setIoMode(int32_t mode) = 0;
  virtual int32_t TAVO_VST3_CALL getBusCount(int32_t type, int32_t dir) = 0;
  virtual tresult TAVO_VST3_CALL getBusInfo(int32_t type, int32_t dir, int32_t index,
                                            BusInfo& bus) = 0;
  virtual tresult TAVO_VST3_CALL getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
  virtual tresult TAVO_VST3_CALL activateBus(int32_t type, int32_t dir, int32_t index,
                                             TBool state) = 0;
  virtual tresult TAVO_VST3_CALL setActive(TBool state) = 0;
  virtual tresult TAVO_VST3_CALL setState(IBStream* state) = 0;
  virtual tresult TAVO_VST3_CALL getState(IBStream* state) = 0;
};

struct IAudioProcessor : FUnknown {
  static constexpr Uid kIid = MakeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
  virtual tresult TAVO_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32_t numIns,
                                                    SpeakerArrangement* outputs,
                                                    int32_t numOuts) = 0;
  virtual tresult TAVO_VST3_CALL getBusArrangement(int32_t dir, int32_t index,
                                                   SpeakerArrangement& arr) = 0;
  virtual tresult TAVO_VST3_CALL canProcessSampleSize(int32_t symbolicSampleSize) = 0;
  virtual uint32_t TAVO_VST3_CALL getLatencySamples() = 0;
  virtual tresult TAVO_VST3_CALL setupProcessing(ProcessSetup& setup) = 0;
  virtual tresult TAVO_VST3_CALL setProcessing(TBool state) = 0;
  virtual tresult TAVO_VST3_CALL process(ProcessData& data) = 0;
  virtual uint32_t TAVO_VST3_CALL getTailSamples() = 0;
};

struct IProcessContextRequirements : FUnknown {
  static constexpr Uid kIid = MakeUid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);
  virtual uint32_t TAVO_VST3_CALL getProcessContextRequirements() = 0;
};

} // namespace tavo::vst3
