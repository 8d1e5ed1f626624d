#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Base64.h"
#include "framework/IStateChunk.h"
#include "tests/support/ScopedTempDir.h"
#include "tests/support/TestPlug.h"

namespace tavo {
namespace {

using test::TestPlug;

TEST(StateChunk, ValuesRoundTripLittleEndian) {
  IStateChunk c;
  c.PutInt32(0x01020304);
  c.PutDouble(-90.0);
  c.PutBool(true);
  c.PutString("abc");
  ASSERT_EQ(c.Size(), 4 + 8 + 1 + 4 + 3);
  EXPECT_EQ(c.Data()[0], 0x04);
  EXPECT_EQ(c.Data()[3], 0x01);
  int32_t i = 0;
  double d = 0;
  bool b = false;
  GrowableText s;
  int pos = c.GetInt32(&i, 0);
  pos = c.GetDouble(&d, pos);
  pos = c.GetBool(&b, pos);
  pos = c.GetString(&s, pos);
  EXPECT_EQ(pos, c.Size());
  EXPECT_EQ(i, 0x01020304);
  EXPECT_EQ(d, -90.0);
  EXPECT_TRUE(b);
  EXPECT_STREQ(s.Get(), "abc");
}

TEST(StateChunk, AFailedReadFailsTheRestOfTheSequence) {
  IStateChunk c;
  c.PutInt32(7);
  double d = 1.5;
  EXPECT_EQ(c.GetDouble(&d, 0), -1);
  EXPECT_EQ(d, 1.5);
  int32_t i = 0;
  EXPECT_EQ(c.GetInt32(&i, -1), -1);
  EXPECT_EQ(c.GetInt32(&i, 1), -1);
  EXPECT_EQ(c.GetBytes(&i, -4, 0), -1);
}

TEST(StateChunk, GetStringKeepsTheTextUnlessTheBytesAreThere) {
  IStateChunk c;
  c.PutInt32(10); // claims ten bytes, holds three
  c.PutBytes("abc", 3);
  GrowableText s("kept");
  EXPECT_EQ(c.GetString(&s, 0), 14); // position after the claimed bytes
  EXPECT_STREQ(s.Get(), "kept");

  IStateChunk empty;
  empty.PutString("");
  EXPECT_EQ(empty.GetString(&s, 0), 4);
  EXPECT_STREQ(s.Get(), "kept");

  IStateChunk negative;
  negative.PutInt32(-5);
  EXPECT_EQ(negative.GetString(&s, 0), -1);
}

TEST(StateChunk, PutChunkAppendsWithoutALength) {
  IStateChunk a, b;
  a.PutInt32(1);
  b.PutInt32(2);
  a.PutChunk(b);
  a.PutChunk(a);
  EXPECT_EQ(a.Size(), 16);
}

TEST(Base64, EncodesWithPaddingAndDecodesUpToIt) {
  const std::vector<uint8_t> bytes{'a', 'b', 'c', 'd', 'e'};
  EXPECT_EQ(Base64Encode(bytes), "YWJjZGU=");
  EXPECT_EQ(Base64Encode(std::vector<uint8_t>{'a', 'b', 'c', 'd'}), "YWJjZA==");
  EXPECT_EQ(Base64Encode(std::vector<uint8_t>{}), "");
  std::vector<uint8_t> out(16, 0xEE);
  EXPECT_EQ(Base64Decode("YWJjZGU=", out), 5u);
  EXPECT_EQ(std::string(out.begin(), out.begin() + 5), "abcde");
  EXPECT_EQ(out[5], 0xEE);
}

TEST(Base64, DecodingStopsAtTheByteCountAndAtForeignCharacters) {
  std::vector<uint8_t> out(2);
  EXPECT_EQ(Base64Decode("YWJjZGU=", out), 2u);
  EXPECT_EQ(out[1], 'b');
  std::vector<uint8_t> big(10);
  EXPECT_EQ(Base64Decode("YWJj*ZGU=", big), 3u);
  EXPECT_EQ(Base64Decode(nullptr, big), 0u);
}

class PresetTest : public ::testing::Test {
protected:
  PresetTest() : plug(3, "1-1", 3) {
    plug.GetParam(0)->InitDouble("Gain", 1.0, -10, 10, 0.1);
    plug.GetParam(1)->InitInt("Count", 2, 0, 5);
    plug.GetParam(2)->InitBool("On", true);
  }
  std::vector<double> Values(const IStateChunk& c) {
    std::vector<double> v(static_cast<size_t>(c.Size() / 8));
    for (size_t i = 0; i < v.size(); ++i)
      c.GetDouble(&v[i], static_cast<int>(i * 8));
    return v;
  }
  TestPlug plug;
};

TEST_F(PresetTest, StateIsOneDoublePerParameter) {
  IStateChunk c;
  ASSERT_TRUE(plug.SaveState(&c));
  EXPECT_EQ(Values(c), (std::vector<double>{1.0, 2.0, 1.0}));
}

TEST_F(PresetTest, ShortStateZeroesTheFirstMissingValueAndStillNotifiesAll) {
  IStateChunk c;
  c.PutDouble(5.0);
  c.PutBytes("\0\0\0", 3); // a torn second value
  plug.calls.clear();
  EXPECT_EQ(plug.LoadState(&c, 0), -1);
  EXPECT_EQ(plug.GetParam(0)->Value(), 5.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 0.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 1.0); // untouched
  EXPECT_EQ(plug.calls,
            (std::vector<std::string>{"ParamChanged 0", "ParamChanged 1", "ParamChanged 2"}));
}

TEST_F(PresetTest, LoadedValuesAreClampedNotRounded) {
  IStateChunk c;
  c.PutDouble(99.0);
  c.PutDouble(2.4);
  c.PutDouble(-3.0);
  EXPECT_EQ(plug.LoadState(&c, 0), 24);
  EXPECT_EQ(plug.GetParam(0)->Value(), 10.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 2.4);
  EXPECT_EQ(plug.GetParam(2)->Value(), 0.0);
}

TEST_F(PresetTest, NotANumberInAChunkRestoresTheDefault) {
  IStateChunk c;
  c.PutDouble(std::nan(""));
  c.PutDouble(-INFINITY);
  c.PutDouble(INFINITY);
  EXPECT_EQ(plug.LoadState(&c, 0), 24);
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 0.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 1.0);
}

TEST_F(PresetTest, StateEqualsComparesInSinglePrecision) {
  const double same[] = {0, 1.0000001, 2.0, 1.0};
  EXPECT_TRUE(plug.StateEquals(same, 1));
  const double different[] = {1.0, 2.001, 1.0};
  EXPECT_FALSE(plug.StateEquals(different, 0));
}

TEST_F(PresetTest, DefaultPresetsFillFreeSlotsOnly) {
  plug.MakeDefaultPresets(nullptr, 5);
  EXPECT_STREQ(plug.PresetName(0), "Empty");
  EXPECT_TRUE(plug.GetPreset(2)->initialized);
  EXPECT_EQ(plug.GetPreset(2)->chunk.Size(), 24);
  EXPECT_STREQ(plug.PresetName(7), "");
}

TEST_F(PresetTest, PresetsFromValuesNamedParamsChunksAndBlobs) {
  plug.MakePresetFromValues("values", 3.5, 4, 0);
  EXPECT_EQ(Values(plug.GetPreset(0)->chunk), (std::vector<double>{3.5, 4, 0}));
  plug.MakePresetFromNamedParams("named", 1, 1, 3);
  EXPECT_EQ(Values(plug.GetPreset(1)->chunk), (std::vector<double>{1.0, 3, 1.0}));
  const std::vector<uint8_t> state{0, 0, 0, 0, 0, 0, 0x14, 0x40}; // 5.0
  plug.MakePresetFromBlob("blob", Base64Encode(state).c_str(), 8);
  EXPECT_EQ(Values(plug.GetPreset(2)->chunk), (std::vector<double>{5.0}));
  plug.MakePresetFromValues("no room", 0.0, 0, 0); // every slot taken: nothing happens
  EXPECT_STREQ(plug.PresetName(2), "blob");
}

TEST_F(PresetTest, NamedParamsStopAtAnUnknownIndex) {
  plug.MakePresetFromNamedParams("named", 2, 7, 1, 3.0);
  EXPECT_EQ(Values(plug.GetPreset(0)->chunk), (std::vector<double>{1.0, 2.0, 1.0}));
}

TEST_F(PresetTest, RestoringAnEmptySlotStoresTheCurrentStateUnderAUserName) {
  std::snprintf(plug.GetPreset(0)->name, IPresetSlot::kNameSize, "user preset 1");
  std::snprintf(plug.GetPreset(1)->name, IPresetSlot::kNameSize, "my user preset");
  EXPECT_TRUE(plug.RestorePreset(2));
  EXPECT_STREQ(plug.PresetName(2), "user preset 3");
  EXPECT_TRUE(plug.GetPreset(2)->initialized);
  EXPECT_EQ(plug.CurrentPreset(), 2);
  EXPECT_FALSE(plug.RestorePreset(3));
  EXPECT_FALSE(plug.RestorePreset(-1));
}

TEST_F(PresetTest, RestoreByNameAndModify) {
  plug.MakeDefaultPresets("first", 1);
  plug.GetParam(0)->SetValue(7.0);
  EXPECT_FALSE(plug.RestorePresetByName(""));
  EXPECT_FALSE(plug.RestorePresetByName(nullptr));
  EXPECT_FALSE(plug.RestorePresetByName("missing"));
  EXPECT_TRUE(plug.RestorePresetByName("first"));
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
  plug.GetParam(0)->SetValue(-2.0);
  plug.ModifyCurrentPreset("renamed");
  EXPECT_STREQ(plug.PresetName(0), "renamed");
  EXPECT_EQ(Values(plug.GetPreset(0)->chunk)[0], -2.0);
}

TEST_F(PresetTest, PruneDropsUninitialisedSlotsKeepingOrder) {
  plug.MakePresetFromValues("a", 0.0, 0, 0);
  std::snprintf(plug.GetPreset(1)->name, IPresetSlot::kNameSize, "gone");
  plug.GetPreset(2)->initialized = true;
  plug.PruneEmptyPresets();
  ASSERT_EQ(plug.NPresets(), 2);
  EXPECT_STREQ(plug.PresetName(0), "a");
  EXPECT_STREQ(plug.PresetName(1), "empty");
}

TEST_F(PresetTest, BankRoundTripsThroughSerializePresets) {
  plug.MakePresetFromValues("alpha", 2.5, 1, 0);
  plug.MakePresetFromValues("beta", -4.0, 5, 1);
  IStateChunk bank;
  ASSERT_TRUE(plug.SerializePresets(&bank));

  TestPlug other(3, "1-1", 3);
  other.GetParam(0)->InitDouble("Gain", 1.0, -10, 10, 0.1);
  other.GetParam(1)->InitInt("Count", 2, 0, 5);
  other.GetParam(2)->InitBool("On", true);
  EXPECT_EQ(other.UnserializePresets(&bank, 0), bank.Size());
  EXPECT_STREQ(other.PresetName(0), "alpha");
  EXPECT_STREQ(other.PresetName(1), "beta");
  EXPECT_EQ(Values(other.GetPreset(1)->chunk), (std::vector<double>{-4.0, 5, 1}));
  // The current preset (0) is restored last.
  EXPECT_EQ(other.GetParam(0)->Value(), 2.5);
}

TEST_F(PresetTest, ABankThatFailsBeforeItsFirstSlotChangesNothing) {
  plug.MakePresetFromValues("saved", 2.5, 1, 0);
  plug.GetParam(0)->SetValue(-7.0); // an edit not yet saved in any preset
  IStateChunk empty, nameOnly;
  nameOnly.PutString("torn");
  for (const IStateChunk* bank : {&empty, &nameOnly}) {
    plug.calls.clear();
    EXPECT_EQ(plug.UnserializePresets(bank, 0), -1);
    EXPECT_STREQ(plug.PresetName(0), "saved");
    EXPECT_EQ(plug.GetParam(0)->Value(), -7.0);
    EXPECT_TRUE(plug.calls.empty());
  }
}

TEST_F(PresetTest, BankNamesLongerThanASlotAreCut) {
  IStateChunk bank;
  const std::string longName(1000, 'q');
  bank.PutString("first");
  bank.PutBool(true);
  for (double v : {1.0, 2.0, 0.0})
    bank.PutDouble(v);
  bank.PutString(longName.c_str());
  bank.PutBool(false);
  plug.UnserializePresets(&bank, 0);
  EXPECT_STREQ(plug.PresetName(0), "first");
  EXPECT_EQ(std::string(plug.PresetName(1)), longName.substr(0, 255));
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

TEST_F(PresetTest, SourceDumpWritesNamedParams) {
  const tavo_test::ScopedTempDir dir;
  const std::string path = dir.File("preset_source.txt");
  const char* names[] = {"kGain", "kCount", "kOn"};
  ASSERT_TRUE(plug.DumpPresetSource(path.c_str(), names));
  EXPECT_EQ(ReadFile(path),
            "  MakePresetFromNamedParams(\"name\", 3,\n    kGain, 1.000000,\n    kCount, 2,\n"
            "    kOn, true);\n");
  EXPECT_FALSE(plug.DumpPresetSource("/nonexistent-dir/x.txt", names));
}

TEST_F(PresetTest, BlobDumpHoldsStatesOfAnySize) {
  TestPlug big(200, "1-1", 1); // 1600 bytes of state: beyond what a fixed text would hold
  for (int i = 0; i < 200; ++i)
    big.GetParam(i)->InitDouble("p", i, 0, 1000, 1);
  big.MakeDefaultPresets("-", 1);
  const tavo_test::ScopedTempDir dir;
  const std::string path = dir.File("preset_blob.txt");
  ASSERT_TRUE(big.DumpPresetBlob(path.c_str()));
  const std::string text = ReadFile(path);
  const std::string prefix = "MakePresetFromBlob(\"name\", \"";
  ASSERT_EQ(text.rfind(prefix, 0), 0u);
  const size_t quote = text.find('"', prefix.size());
  const std::string blob = text.substr(prefix.size(), quote - prefix.size());
  EXPECT_EQ(text.substr(quote), "\", 1600);\n");
  // The blob decodes back into the same state.
  TestPlug copy(200, "1-1", 1);
  for (int i = 0; i < 200; ++i)
    copy.GetParam(i)->InitDouble("p", 0, 0, 1000, 1);
  copy.MakePresetFromBlob("x", blob.c_str(), 1600);
  ASSERT_TRUE(copy.RestorePreset(0));
  EXPECT_EQ(copy.GetParam(199)->Value(), 199.0);
}

} // namespace
} // namespace tavo
