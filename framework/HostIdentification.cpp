#include "framework/HostIdentification.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace tavo {

namespace {

struct Fragment {
  const char* text;
  int code;
};

// Order matters: the first fragment found decides, so "cubase nuendo" is Cubase and any name
// with "live" in it is Live unless an earlier fragment matched.
constexpr std::array<Fragment, 24> kFragments{
    {{"cubase", 3},      {"reaper", 1},      {"nuendo", 4},
     {"cakewalk", 5},    {"samplitude", 8},  {"fruity", 7},
     {"live", 9},        {"melodyne", 12},   {"vstmanlib", 13},
     {"aulab", 14},      {"garageband", 22}, {"forte", 15},
     {"chainer", 16},    {"audition", 17},   {"orion", 18},
     {"sawstudio", 20},  {"logic", 21},      {"digital", 23},
     {"audiomulch", 25}, {"presonus", 26},   {"vst3plugintesthost", 27},
     {"protools", 2},    {"ardour", 28},     {"standalone", 24}}};

// Code 6 has a name but no fragment leads to it; code 12 has a fragment but no name.
const char* DisplayNameOf(int code) {
  switch (code) {
  case 1:
    return "Reaper";
  case 2:
    return "ProTools";
  case 3:
    return "Cubase";
  case 4:
    return "Nuendo";
  case 5:
    return "Sonar";
  case 6:
    return "Vegas";
  case 7:
    return "FLStudio";
  case 8:
    return "Samplitude";
  case 9:
    return "Live";
  case 13:
    return "VSTScanner";
  case 14:
    return "AULab";
  case 15:
    return "Forte";
  case 16:
    return "Chainer";
  case 17:
    return "Audition";
  case 18:
    return "Orion";
  case 20:
    return "SAWStudio";
  case 21:
    return "Logic";
  case 22:
    return "GarageBand";
  case 23:
    return "DigitalPerformer";
  case 24:
    return "Standalone";
  case 25:
    return "AudioMulch";
  case 26:
    return "StudioOne";
  case 27:
    return "VST3PluginTestHost";
  case 28:
    return "Ardour";
  default:
    return "Unknown";
  }
}

void CopyCut(const char* text, char* out, size_t outSize) {
  if (!out || outSize == 0) return;
  const size_t n = strnlen(text, outSize - 1);
  std::memcpy(out, text, n);
  out[n] = '\0';
}

} // namespace

int LookUpHost(const char* name) {
  std::array<char, 256> lower{};
  if (name) {
    for (size_t i = 0; i + 1 < lower.size() && name[i]; ++i)
      lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
  }
  for (const Fragment& f : kFragments)
    if (std::strstr(lower.data(), f.text)) return f.code;
  return kHostUnknown;
}

void HostDisplayName(int code, char* out, size_t outSize) {
  CopyCut(DisplayNameOf(code), out, outSize);
}

void FormatHostTraceLine(int code, const char* name, int32_t version, char* out, size_t outSize) {
  if (!out || outSize == 0) return;
  const auto v = static_cast<uint32_t>(version);
  std::snprintf(out, outSize, "host_%sknown:%s:v%u.%u.%u", code == kHostUnknown ? "un" : "",
                name ? name : "", v >> 16, (v >> 8) & 0xFF, v & 0xFF);
}

} // namespace tavo
