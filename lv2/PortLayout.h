#pragma once
// Where each port of the LV2 plug-ins sits, written once for the adaptor that connects them and
// for the generator that writes the plug-ins' Turtle description: a port's index is stored in every
// host session, so the two must never disagree, and the order below is stable from now on.
//
//   audio inputs (1 or 2) · audio outputs (1 or 2) · one control input per parameter, in
//   parameter order · the latency output · the level output

#include <cstdint>

namespace tavo::lv2 {

// The plug-ins' identifiers: one per channel layout of the identity's "1-1 2-2".
inline constexpr const char* kMonoURI = "urn:quenstrel:tavo:mono";
inline constexpr const char* kStereoURI = "urn:quenstrel:tavo:stereo";
// The editor's LV2 UI, one for both plug-ins.
inline constexpr const char* kUIURI = "urn:quenstrel:tavo:ui";
// The key under which the state chunk is saved in a host session.
inline constexpr const char* kStateKeyURI = "urn:quenstrel:tavo:state";
inline constexpr const char* kBinaryName = "TAVO.so";
inline constexpr const char* kTurtleName = "TAVO.ttl";

struct PortLayout {
  int channels; // 1 (mono) or 2 (stereo)
  int nParams;

  constexpr uint32_t AudioIn(int channel) const { return static_cast<uint32_t>(channel); }
  constexpr uint32_t AudioOut(int channel) const {
    return static_cast<uint32_t>(channels + channel);
  }
  constexpr uint32_t FirstParam() const { return static_cast<uint32_t>(2 * channels); }
  constexpr uint32_t Param(int paramIdx) const {
    return FirstParam() + static_cast<uint32_t>(paramIdx);
  }
  constexpr uint32_t Latency() const { return FirstParam() + static_cast<uint32_t>(nParams); }
  constexpr uint32_t Level() const { return Latency() + 1; }
  constexpr uint32_t Count() const { return Level() + 1; }
  // The parameter a port carries, or -1 for an audio, latency or level port.
  constexpr int ParamOf(uint32_t port) const {
    return port >= FirstParam() && port < Latency() ? static_cast<int>(port - FirstParam()) : -1;
  }
};

} // namespace tavo::lv2
