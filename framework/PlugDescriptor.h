#pragma once
// Who a plug-in is, written once: the names and codes a host shows and stores, the channel
// layouts, the category, the version, the latency and the editor's size. The plug-in base is
// constructed from it, and every host format registers the plug-in from the same record, so no
// two places can disagree about an identifier a stored session or preset depends on.

#include <cstdint>
#include <span>

namespace tavo {

struct PlugDescriptor {
  const char* effectName;  // at most 127 characters, like the two names below
  const char* productName; // empty when the product is the effect
  const char* makerName;
  // Every name the host may show, newline-separated, longest first: hosts with little room
  // take a shorter one.
  const char* effectNameVariants;
  const char* makerNameVariants;
  int32_t uniqueID; // four-character codes
  int32_t makerID;
  // The legal channel layouts, "<inputs>-<outputs>" separated by blanks, and one processing
  // type identifier per layout in the same order.
  const char* channelIO;
  std::span<const int32_t> typeIDs;
  const char* category; // a host category name ("Harmonic", "EQ", …)
  int32_t version;      // 0xMMMMmmbb: 0x10000 is 1.0.0
  int32_t latency;      // frames
  int32_t nPresets;
  int32_t editorWidth; // pixels
  int32_t editorHeight;
};

} // namespace tavo
