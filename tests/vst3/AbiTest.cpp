// The declarations against the interface's numbers: identifiers byte for byte in both memory
// orders, the layouts a host reads through, the result codes, and TAVO's class identifiers in
// their text form.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "vst3/ClassIds.h"
#include "vst3/abi/Controller.h"
#include "vst3/abi/Factory.h"
#include "vst3/abi/Processing.h"

namespace tavo::vst3 {
namespace {

std::string Hex(const Uid& uid) {
  std::string text;
  char byte[3];
  for (uint8_t b : uid.bytes) {
    std::snprintf(byte, sizeof byte, "%02X", b);
    text += byte;
  }
  return text;
}

TEST(Vst3Abi, IdentifiersLieInMemoryInEachTargetsOrder) {
  EXPECT_EQ(Hex(UidInOrder(true, 0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802)),
            "31FF31E8D5F20143928EBBEE25697802");
  EXPECT_EQ(Hex(UidInOrder(true, 0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB)),
            "50B607004BF20B4CA464EDB9F00B2ABB");
  // This build is the Linux target: every word most significant byte first.
  EXPECT_EQ(Hex(IComponent::kIid), "E831FF31F2D54301928EBBEE25697802");
  EXPECT_EQ(Hex(IEditController::kIid), "DCD7BBE37742448DA874AACC979C759E");
  EXPECT_EQ(Hex(IPluginFactory2::kIid), "0007B650F24B4C0BA464EDB9F00B2ABB");
  EXPECT_EQ(Hex(IAudioProcessor::kIid), "42043F99B7DA453CA569E79D9AAEC33D");
  EXPECT_EQ(Hex(FUnknown::kIid), "0000000000000000C000000000000046");
  EXPECT_EQ(kNoInterface, -1);
  EXPECT_EQ(kInvalidArgument, 2);
  EXPECT_EQ(kNotInitialized, 5);
}

TEST(Vst3Abi, ClassIdentifiersKeepTheirWrittenDownTextForm) {
  // Host projects store these: a change here loses every saved session's TAVO.
  EXPECT_EQ(Hex(kProcessorCid), "6A0C1F523B9E4D71A2C85E1347D06B29");
  EXPECT_EQ(Hex(kControllerCid), "1D5B7E84C6324F0A9E71B3D528FA4C61");
}

TEST(Vst3Abi, StructuresHaveTheOffsetsHostsReadThrough) {
  EXPECT_EQ(offsetof(PClassInfo2, subCategories), 120u);
  EXPECT_EQ(offsetof(PClassInfo2, sdkVersion), 376u);
  EXPECT_EQ(offsetof(PClassInfoW, classFlags), 180u);
  EXPECT_EQ(offsetof(PClassInfoW, sdkVersion), 568u);
  EXPECT_EQ(offsetof(BusInfo, busType), 268u);
  EXPECT_EQ(offsetof(ProcessSetup, sampleRate), 16u);
  EXPECT_EQ(offsetof(AudioBusBuffers, channelBuffers32), 16u);
  EXPECT_EQ(offsetof(ProcessData, inputs), 24u);
  EXPECT_EQ(offsetof(ProcessData, inputParameterChanges), 40u);
  EXPECT_EQ(offsetof(ProcessData, processContext), 72u);
  EXPECT_EQ(offsetof(ParameterInfo, stepCount), 772u);
  EXPECT_EQ(offsetof(ParameterInfo, defaultNormalizedValue), 776u);
  EXPECT_EQ(offsetof(ParameterInfo, flags), 788u);
}

} // namespace
} // namespace tavo::vst3
