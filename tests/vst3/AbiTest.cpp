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
#include "vst3/abi/View.h"

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
  // This build's own order: Windows lays the first word and the two halves of the second least
  // significant byte first, Linux every word most significant byte first.
  if (kComLayout) {
    EXPECT_EQ(Hex(IComponent::kIid), "31FF31E8D5F20143928EBBEE25697802");
    EXPECT_EQ(Hex(IEditController::kIid), "E3BBD7DC42778D44A874AACC979C759E");
    EXPECT_EQ(Hex(IPluginFactory2::kIid), "50B607004BF20B4CA464EDB9F00B2ABB");
    EXPECT_EQ(Hex(IAudioProcessor::kIid), "993F0442DAB73C45A569E79D9AAEC33D");
    EXPECT_EQ(Hex(IPlugView::kIid), "0725C35B60D0EA49A6151B522B755B29");
  } else {
    EXPECT_EQ(Hex(IComponent::kIid), "E831FF31F2D54301928EBBEE25697802");
    EXPECT_EQ(Hex(IEditController::kIid), "DCD7BBE37742448DA874AACC979C759E");
    EXPECT_EQ(Hex(IPluginFactory2::kIid), "0007B650F24B4C0BA464EDB9F00B2ABB");
    EXPECT_EQ(Hex(IAudioProcessor::kIid), "42043F99B7DA453CA569E79D9AAEC33D");
    EXPECT_EQ(Hex(IPlugView::kIid), "5BC32507D06049EAA6151B522B755B29");
  }
  EXPECT_EQ(Hex(FUnknown::kIid), "0000000000000000C000000000000046");
}

TEST(Vst3Abi, ResultCodesAreThoseOfTheTarget) {
  EXPECT_EQ(kResultOk, 0);
  EXPECT_EQ(kResultFalse, 1);
  if (kComLayout) { // the system's object model codes
    EXPECT_EQ(static_cast<uint32_t>(kNoInterface), 0x80004002u);
    EXPECT_EQ(static_cast<uint32_t>(kInvalidArgument), 0x80070057u);
    EXPECT_EQ(static_cast<uint32_t>(kNotImplemented), 0x80004001u);
    EXPECT_EQ(static_cast<uint32_t>(kNotInitialized), 0x8000FFFFu);
    EXPECT_EQ(static_cast<uint32_t>(kOutOfMemory), 0x8007000Eu);
  } else {
    EXPECT_EQ(kNoInterface, -1);
    EXPECT_EQ(kInvalidArgument, 2);
    EXPECT_EQ(kNotImplemented, 3);
    EXPECT_EQ(kNotInitialized, 5);
    EXPECT_EQ(kOutOfMemory, 6);
  }
}

// The text form hosts write down: the four words' hex digits in turn, read back from the bytes in
// this target's order.
std::string TextForm(const Uid& uid) {
  const auto& b = uid.bytes;
  Uid words = uid;
  if (kComLayout) {
    words.bytes = {b[3], b[2], b[1],  b[0],  b[5],  b[4],  b[7],  b[6],
                   b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]};
  }
  return Hex(words);
}

TEST(Vst3Abi, ClassIdentifiersKeepTheirWrittenDownTextForm) {
  // Host projects store these: a change here loses every saved session's TAVO, on either system.
  EXPECT_EQ(TextForm(kProcessorCid), "6A0C1F523B9E4D71A2C85E1347D06B29");
  EXPECT_EQ(TextForm(kControllerCid), "1D5B7E84C6324F0A9E71B3D528FA4C61");
  EXPECT_EQ(TextForm(IComponent::kIid), "E831FF31F2D54301928EBBEE25697802");
}

TEST(Vst3Abi, StructuresHaveTheOffsetsHostsReadThrough) {
  EXPECT_EQ(offsetof(PClassInfo2, subCategories), 120u);
  EXPECT_EQ(offsetof(PClassInfo2, sdkVersion), 376u);
  EXPECT_EQ(offsetof(PClassInfoW, classFlags), 180u);
  EXPECT_EQ(offsetof(PClassInfoW, sdkVersion), 568u);
  EXPECT_EQ(offsetof(BusInfo, busType), 268u);
  EXPECT_EQ(offsetof(ProcessSetup, sampleRate), 16u);
  EXPECT_EQ(offsetof(AudioBusBuffers, channelBuffers32), 16u);
  // Pointer-sized members move with the pointer size (32-bit Windows: 4 bytes).
  const bool wide = sizeof(void*) == 8;
  EXPECT_EQ(offsetof(ProcessData, inputs), wide ? 24u : 20u);
  EXPECT_EQ(offsetof(ProcessData, inputParameterChanges), wide ? 40u : 28u);
  EXPECT_EQ(offsetof(ProcessData, processContext), wide ? 72u : 44u);
  EXPECT_EQ(sizeof(ProcessData), wide ? 80u : 48u);
  EXPECT_EQ(offsetof(ParameterInfo, stepCount), 772u);
  EXPECT_EQ(offsetof(ParameterInfo, defaultNormalizedValue), 776u);
  EXPECT_EQ(offsetof(ParameterInfo, flags), 788u);
}

} // namespace
} // namespace tavo::vst3
