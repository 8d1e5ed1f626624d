#include <gtest/gtest.h>

#include <string>

#include "framework/HostIdentification.h"

namespace tavo {
namespace {

std::string DisplayName(int code, size_t size = kHostDisplayNameBytes) {
  std::string out(size, '#');
  HostDisplayName(code, out.data(), out.size());
  return out.c_str();
}

std::string TraceLine(int code, const char* name, int32_t version) {
  char line[128];
  FormatHostTraceLine(code, name, version, line, sizeof line);
  return line;
}

} // namespace

TEST(LookUpHost, IgnoresLetterCase) {
  EXPECT_EQ(LookUpHost("REAPER"), 1);
  EXPECT_EQ(LookUpHost("reaper64"), 1);
  EXPECT_EQ(LookUpHost("ProTools"), 2);
}

TEST(LookUpHost, FirstFragmentInTableOrderDecides) {
  EXPECT_EQ(LookUpHost("Cubase Nuendo"), 3);
  EXPECT_EQ(LookUpHost("Nuendo Cubase"), 3);
  EXPECT_EQ(LookUpHost("My Live Rig"), 9);
  EXPECT_EQ(LookUpHost("Oliver"), 9); // "live" inside a longer word
  EXPECT_EQ(LookUpHost("Digital Performer"), 23);
  EXPECT_EQ(LookUpHost("Reaper Live"), 1);
}

TEST(LookUpHost, UnmatchedNamesAreUnknown) {
  EXPECT_EQ(LookUpHost("Fruity Loops"), 7);
  EXPECT_EQ(LookUpHost("FL Studio"), 0);
  EXPECT_EQ(LookUpHost("PRO TOOLS"), 0);
  EXPECT_EQ(LookUpHost(""), 0);
  EXPECT_EQ(LookUpHost(nullptr), 0);
}

TEST(LookUpHost, OnlyTheFirst255CharactersCount) {
  std::string name(254, 'x');
  EXPECT_EQ(LookUpHost((name + "ardour").c_str()), 0);
  EXPECT_EQ(LookUpHost((std::string(249, 'x') + "ardour").c_str()), 28);
  EXPECT_EQ(LookUpHost(std::string(100000, 'q').c_str()), 0);
}

TEST(HostDisplayName, KnownCodesAndGaps) {
  EXPECT_EQ(DisplayName(1), "Reaper");
  EXPECT_EQ(DisplayName(6), "Vegas");
  EXPECT_EQ(DisplayName(23), "DigitalPerformer");
  EXPECT_EQ(DisplayName(27), "VST3PluginTestHost");
  for (int code : {12, 0, -1, 10, 11, 19, 29, 1 << 30})
    EXPECT_EQ(DisplayName(code), "Unknown");
}

TEST(HostDisplayName, EveryFragmentCodeButMelodyneHasItsOwnName) {
  const char* names[] = {"cubase",   "reaper",  "nuendo",     "cakewalk", "samplitude",
                         "fruity",   "live",    "vstmanlib",  "aulab",    "garageband",
                         "forte",    "chainer", "audition",   "orion",    "sawstudio",
                         "logic",    "digital", "audiomulch", "presonus", "vst3plugintesthost",
                         "protools", "ardour",  "standalone"};
  for (const char* n : names)
    EXPECT_NE(DisplayName(LookUpHost(n)), "Unknown") << n;
  EXPECT_EQ(DisplayName(LookUpHost("melodyne")), "Unknown");
}

TEST(HostDisplayName, SmallBuffersAreCutAndTerminated) {
  EXPECT_EQ(DisplayName(27, 4), "VST");
  EXPECT_EQ(DisplayName(27, 1), "");
  HostDisplayName(27, nullptr, 10); // nothing to write into, nothing written
}

TEST(HostTraceLine, NamesKnownAndUnknownHostsWithTheVersion) {
  EXPECT_EQ(TraceLine(0, "", 0x00010203), "host_unknown::v1.2.3");
  EXPECT_EQ(TraceLine(2, "ProTools", 0x00500100), "host_known:ProTools:v80.1.0");
  char small[6];
  FormatHostTraceLine(0, "x", 0, small, sizeof small);
  EXPECT_STREQ(small, "host_");
}

} // namespace tavo
