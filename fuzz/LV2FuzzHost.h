#pragma once
// A small LV2 host for the fuzz targets that drive the LV2 plug-in: a URI map, a log that formats
// every line it hears and counts them, and instances of the mono and the stereo plug-in with each
// port on a buffer of the host's own, reached only through the descriptor and the state
// interface, as a host reaches them. An instance is made once and brought back to the same state
// before every input, so that a crash replays from its input alone.

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/log/log.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fuzz/FuzzChecks.h"
#include "lv2/TAVOLV2.h"

namespace tavo::fuzz {

// The longest block the host announces. Short, because the frames an input renders are what its
// time goes on under the fuzzer's instrumentation; a block longer than this goes through the
// plug-in in pieces.
inline constexpr int32_t kHostMaxBlock = 128;
// The longest block the targets run: beyond the announced longest block, so that a long block
// goes through in pieces.
inline constexpr uint32_t kMostFrames = 512;
// The settings of a session as a user leaves them, by control port, in parameter order: every
// knob away from its default, the second VU mode, the effect on.
inline constexpr float kSessionPorts[TAVOParams::kNumParams] = {6.0f, 7.5f,   -4.5f, 2.5f,
                                                                3.0f, -75.0f, 2.0f,  1.0f};

class LV2FuzzHost {
public:
  LV2FuzzHost() {
    atomChunk = Map(LV2_ATOM__Chunk);
    atomInt = Map(LV2_ATOM__Int);
    atomDouble = Map(LV2_ATOM__Double);
    stateKey = Map(lv2::kStateKeyURI);
    options_[0] = {LV2_OPTIONS_INSTANCE, 0,       Map(LV2_BUF_SIZE__maxBlockLength),
                   sizeof kHostMaxBlock, atomInt, &kHostMaxBlock};
  }
  LV2FuzzHost(const LV2FuzzHost&) = delete;
  LV2FuzzHost& operator=(const LV2FuzzHost&) = delete;

  LV2_URID Map(const char* uri) {
    const auto [it, added] = urids_.emplace(uri, static_cast<LV2_URID>(urids_.size() + 1));
    return it->second;
  }
  const LV2_Feature* const* Features() const { return features_; }

  LV2_URID atomChunk = 0, atomInt = 0, atomDouble = 0, stateKey = 0;
  int logLines = 0; // every line the plug-in logged

private:
  static LV2_URID MapThunk(LV2_URID_Map_Handle h, const char* uri) {
    return static_cast<LV2FuzzHost*>(h)->Map(uri);
  }
  static int VPrintf(LV2_Log_Handle h, LV2_URID, const char* format, va_list args) {
    // Formatted in full, so that a format that does not match its arguments shows.
    char line[512];
    const int n = std::vsnprintf(line, sizeof line, format, args);
    Require(n > 0);
    ++static_cast<LV2FuzzHost*>(h)->logLines;
    return n;
  }
  static int Printf(LV2_Log_Handle h, LV2_URID type, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = VPrintf(h, type, format, args);
    va_end(args);
    return n;
  }

  std::map<std::string, LV2_URID> urids_;
  LV2_URID_Map map_{this, MapThunk};
  LV2_Log_Log log_{this, Printf, VPrintf};
  // The longest block, then the list's end (a zero key).
  LV2_Options_Option options_[2]{};
  const LV2_Feature mapFeature_{LV2_URID__map, &map_};
  const LV2_Feature logFeature_{LV2_LOG__log, &log_};
  const LV2_Feature optionsFeature_{LV2_OPTIONS__options, options_};
  const LV2_Feature* features_[4]{&mapFeature_, &logFeature_, &optionsFeature_, nullptr};
};

class LV2FuzzInstance {
public:
  LV2FuzzInstance(LV2FuzzHost& host, int channels, double rate)
      : host_(host),
        desc_(TAVOLV2Descriptor(channels == 2 ? 1 : 0)), layout_{channels, TAVOParams::kNumParams} {
    Require(desc_ != nullptr);
    handle_ = desc_->instantiate(desc_, rate, "", host.Features());
    Require(handle_ != nullptr);
    state_ = static_cast<const LV2_State_Interface*>(desc_->extension_data(LV2_STATE__interface));
    Require(state_ && state_->save && state_->restore);
    audio_.assign(2 * static_cast<size_t>(channels), std::vector<float>(kMostFrames, 0.0f));
    ports_.assign(layout_.Count(), 0.0f);
    for (int c = 0; c < 2 * channels; ++c)
      desc_->connect_port(handle_, static_cast<uint32_t>(c), audio_[c].data());
    for (uint32_t p = layout_.FirstParam(); p < layout_.Count(); ++p)
      desc_->connect_port(handle_, p, &ports_[p]);
    for (int i = 0; i < TAVOParams::kNumParams; ++i)
      defaultPorts_.push_back(Plug()->PortValueOf(i));
    desc_->activate(handle_);
    Fresh();
    defaults_ = Save();
  }
  ~LV2FuzzInstance() { desc_->cleanup(handle_); }
  LV2FuzzInstance(const LV2FuzzInstance&) = delete;
  LV2FuzzInstance& operator=(const LV2FuzzInstance&) = delete;

  const TAVOLV2* Plug() const { return static_cast<const TAVOLV2*>(handle_); }
  float& Port(uint32_t port) { return ports_[port]; }
  std::vector<float>& In(int channel) { return audio_[channel]; }
  const std::vector<float>& Out(int channel) const { return audio_[layout_.channels + channel]; }

  const lv2::PortLayout& Layout() const { return layout_; }

  // [between inputs] Back to the state after instantiation: the ports at their defaults and
  // taken, the saved defaults restored, a fresh activation.
  void Fresh() {
    for (int i = 0; i < TAVOParams::kNumParams; ++i)
      ports_[layout_.Param(i)] = defaultPorts_[i];
    desc_->run(handle_, 0);
    if (!defaults_.empty()) RestoreDefaults();
    Activate();
  }
  // The settings of the save made after instantiation, the history left as it is.
  void RestoreDefaults() {
    Require(Restore(defaults_.data(), defaults_.size(), host_.atomChunk) == LV2_STATE_SUCCESS);
  }
  // A host's deactivation and activation: the instance starts from a fresh history.
  void Activate() {
    if (desc_->deactivate) desc_->deactivate(handle_);
    desc_->activate(handle_);
  }
  void Run(uint32_t frames) { desc_->run(handle_, frames); }

  // The state as the host's store receives it: under the plug-in's key, typed, plain data.
  std::vector<uint8_t> Save() {
    Stored stored{&host_, {}};
    Require(state_->save(handle_, Store, &stored, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE,
                         host_.Features()) == LV2_STATE_SUCCESS);
    return stored.bytes;
  }
  // Hands the plug-in bytes of the given type under its key; null data: the key is absent.
  LV2_State_Status Restore(const void* data, size_t size, uint32_t type) {
    Offered offered{&host_, data, size, type};
    return state_->restore(handle_, Retrieve, &offered, 0, host_.Features());
  }

  // Every parameter within its range, and the output ports as the plug-in describes them.
  void CheckSettings() {
    for (int i = 0; i < TAVOParams::kNumParams; ++i) {
      const IParameter* p = Plug()->GetParam(i);
      Require(p->Value() >= p->Min() && p->Value() <= p->Max());
    }
    Require(ports_[layout_.Latency()] == static_cast<float>(Plug()->Latency()));
    Require(std::isfinite(ports_[layout_.Level()]));
  }
  // The next block's inputs: each channel's signal times the amplitude.
  void FillInputs(const std::vector<float> (&signal)[2], float amplitude, uint32_t frames) {
    for (int c = 0; c < layout_.channels; ++c) {
      const float* from = signal[c].data();
      float* to = audio_[c].data();
      for (uint32_t i = 0; i < frames; ++i)
        to[i] = amplitude * from[i];
    }
  }
  // The outputs of the last block are audio: finite and within the output clamp.
  void CheckOutputs(uint32_t frames) const {
    bool audio = true;
    for (int c = 0; c < layout_.channels; ++c) {
      const float* out = Out(c).data();
      for (uint32_t i = 0; i < frames; ++i)
        audio &= std::isfinite(out[i]) && std::fabs(out[i]) <= kLoudest;
    }
    Require(audio);
  }

private:
  struct Stored {
    LV2FuzzHost* host;
    std::vector<uint8_t> bytes;
  };
  struct Offered {
    LV2FuzzHost* host;
    const void* data;
    size_t size;
    uint32_t type;
  };
  static LV2_State_Status Store(LV2_State_Handle h, uint32_t key, const void* value, size_t size,
                                uint32_t type, uint32_t flags) {
    auto* stored = static_cast<Stored*>(h);
    Require(key == stored->host->stateKey && type == stored->host->atomChunk && value &&
            (flags & LV2_STATE_IS_POD) != 0);
    const auto* bytes = static_cast<const uint8_t*>(value);
    stored->bytes.assign(bytes, bytes + size);
    return LV2_STATE_SUCCESS;
  }
  static const void* Retrieve(LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* type,
                              uint32_t* flags) {
    const auto* offered = static_cast<const Offered*>(h);
    if (key != offered->host->stateKey || !offered->data) return nullptr;
    *size = offered->size;
    *type = offered->type;
    *flags = LV2_STATE_IS_POD;
    return offered->data;
  }

  LV2FuzzHost& host_;
  const LV2_Descriptor* desc_;
  const lv2::PortLayout layout_;
  LV2_Handle handle_ = nullptr;
  const LV2_State_Interface* state_ = nullptr;
  std::vector<std::vector<float>> audio_;
  std::vector<float> ports_;
  std::vector<float> defaultPorts_;
  std::vector<uint8_t> defaults_;
};

} // namespace tavo::fuzz
