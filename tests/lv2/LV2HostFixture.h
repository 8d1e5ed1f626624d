#pragma once
// A small LV2 host for the adaptor's tests: a URI map, a log that keeps what it hears, the
// largest block as an option, one instance of the mono or the stereo plug-in with its ports
// connected to buffers the test owns, and the state interface with a store it keeps.

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/log/log.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdarg>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "lv2/TAVOLV2.h"

namespace tavo::test {

class LV2Host {
public:
  explicit LV2Host(int maxBlock = 0) : maxBlock_(maxBlock) {
    options_.push_back({LV2_OPTIONS_INSTANCE, 0, Map(LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t),
                        Map(LV2_ATOM__Int), &maxBlock_});
    options_.push_back({LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr});
    optionsFeature_.data = options_.data();
  }

  LV2_URID Map(const char* uri) {
    auto [it, added] = urids_.emplace(uri, static_cast<LV2_URID>(urids_.size() + 1));
    return it->second;
  }
  // The features a host passes; each may be left out.
  std::vector<const LV2_Feature*> Features(bool withMap = true, bool withLog = true) {
    std::vector<const LV2_Feature*> list;
    if (withMap) list.push_back(&mapFeature_);
    if (withLog) list.push_back(&logFeature_);
    if (maxBlock_ > 0) list.push_back(&optionsFeature_);
    list.push_back(nullptr);
    return list;
  }

  std::vector<std::string> logLines;
  // A map that can map nothing: it answers 0 to every URI from here on.
  bool mapAnswersZero = false;

private:
  static LV2_URID MapThunk(LV2_URID_Map_Handle h, const char* uri) {
    auto* host = static_cast<LV2Host*>(h);
    return host->mapAnswersZero ? 0 : host->Map(uri);
  }
  static int VPrintf(LV2_Log_Handle h, LV2_URID, const char* format, va_list args) {
    char line[512];
    const int n = std::vsnprintf(line, sizeof line, format, args);
    static_cast<LV2Host*>(h)->logLines.emplace_back(line);
    return n;
  }
  static int Printf(LV2_Log_Handle h, LV2_URID type, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = VPrintf(h, type, format, args);
    va_end(args);
    return n;
  }

  int32_t maxBlock_;
  std::map<std::string, LV2_URID> urids_;
  LV2_URID_Map map_{this, MapThunk};
  LV2_Log_Log log_{this, Printf, VPrintf};
  std::vector<LV2_Options_Option> options_;
  LV2_Feature mapFeature_{LV2_URID__map, &map_};
  LV2_Feature logFeature_{LV2_LOG__log, &log_};
  LV2_Feature optionsFeature_{LV2_OPTIONS__options, nullptr};
};

// One plug-in instance with every port on a buffer of its own; with `connectControls` false only
// the audio ports are connected, as a host that breaks the rule leaves them.
class LV2Instance {
public:
  LV2Instance(LV2Host& host, int channels, double rate = 44100.0, int bufferFrames = 8192,
              bool connectControls = true)
      : desc_(TAVOLV2Descriptor(channels == 2 ? 1 : 0)), layout_{channels, TAVOParams::kNumParams} {
    const auto features = host.Features();
    handle_ = desc_->instantiate(desc_, rate, "", features.data());
    if (!handle_) return;
    audio_.assign(2 * channels, std::vector<float>(bufferFrames, 0.0f));
    controls_.assign(layout_.Count(), 0.0f);
    for (int c = 0; c < 2 * channels; ++c)
      desc_->connect_port(handle_, c, audio_[c].data());
    for (uint32_t p = layout_.FirstParam(); connectControls && p < layout_.Count(); ++p)
      desc_->connect_port(handle_, p, &controls_[p]);
    const TAVOLV2* plug = Plug();
    for (int i = 0; i < TAVOParams::kNumParams; ++i)
      Param(i) = static_cast<float>(plug->GetParam(i)->DefaultValue());
    Param(TAVOParams::kBypass) = 1.0f; // the enable control, on
    desc_->activate(handle_);
  }
  ~LV2Instance() {
    if (handle_) desc_->cleanup(handle_);
  }

  bool Valid() const { return handle_ != nullptr; }
  TAVOLV2* Plug() const { return static_cast<TAVOLV2*>(handle_); }
  float& Param(int idx) { return controls_[layout_.Param(idx)]; }
  float Latency() const { return controls_[layout_.Latency()]; }
  float Level() const { return controls_[layout_.Level()]; }
  std::vector<float>& In(int c) { return audio_[c]; }
  std::vector<float>& Out(int c) { return audio_[layout_.channels + c]; }
  void Run(uint32_t frames) { desc_->run(handle_, frames); }
  // What a host does around an offline bounce, or when the plug-in is switched off and on.
  void DeactivateAndActivate() {
    if (desc_->deactivate) desc_->deactivate(handle_);
    desc_->activate(handle_);
  }

  const LV2_State_Interface* State() const {
    return static_cast<const LV2_State_Interface*>(desc_->extension_data(LV2_STATE__interface));
  }
  // A saved state as the host keeps it: key, bytes, type.
  struct Saved {
    uint32_t key = 0, type = 0;
    std::vector<uint8_t> bytes;
  };
  Saved Save() {
    Saved saved;
    State()->save(handle_, Store, &saved, LV2_STATE_IS_POD, nullptr);
    return saved;
  }
  LV2_State_Status Restore(Saved saved) {
    return State()->restore(handle_, Retrieve, &saved, 0, nullptr);
  }

private:
  static LV2_State_Status Store(LV2_State_Handle h, uint32_t key, const void* value, size_t size,
                                uint32_t type, uint32_t) {
    auto* saved = static_cast<Saved*>(h);
    saved->key = key;
    saved->type = type;
    saved->bytes.assign(static_cast<const uint8_t*>(value),
                        static_cast<const uint8_t*>(value) + size);
    return LV2_STATE_SUCCESS;
  }
  static const void* Retrieve(LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* type,
                              uint32_t* flags) {
    auto* saved = static_cast<Saved*>(h);
    if (saved->key != key || saved->bytes.empty()) return nullptr;
    *size = saved->bytes.size();
    *type = saved->type;
    *flags = LV2_STATE_IS_POD;
    return saved->bytes.data();
  }

  const LV2_Descriptor* desc_;
  lv2::PortLayout layout_;
  LV2_Handle handle_ = nullptr;
  std::vector<std::vector<float>> audio_;
  std::vector<float> controls_;
};

} // namespace tavo::test
