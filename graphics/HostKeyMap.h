#pragma once
// The host's map of held keys, as the editor asks for it: 16 bytes in which key code k is bit
// (k & 7) of byte (k >> 3). The editor reads two things from it: the alternate modifier of its
// mouse calls, and the key combination that turns a click on a bound control into the host's
// automation click. Which physical keys the codes stand for is the host's business.
//
// The graphics core knows no host: the adaptor that hosts the editor installs a query
// (IGraphics::SetHostKeyMapQuery); without one every key reads as up.

#include <array>
#include <cstdint>
#include <functional>

namespace tavo {

struct HostKeyMap {
  static constexpr int kAlternateKey = 0x3A;
  // Both held: the click goes to the host as an automation click.
  static constexpr int kAutomationKeyA = 0x3B;
  static constexpr int kAutomationKeyB = 0x37;

  std::array<uint8_t, 16> bytes{};

  // Codes outside the map read as up.
  bool IsDown(int code) const {
    if (code < 0 || code >= static_cast<int>(bytes.size()) * 8) return false;
    return (bytes[static_cast<size_t>(code >> 3)] >> (code & 7)) & 1;
  }
  bool AlternateDown() const { return IsDown(kAlternateKey); }
  bool AutomationClickHeld() const { return IsDown(kAutomationKeyA) && IsDown(kAutomationKeyB); }
};

// [editor thread] Fills a key map from the host.
using HostKeyMapQuery = std::function<HostKeyMap()>;

} // namespace tavo
