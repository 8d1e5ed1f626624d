// The engine stand-ins as a module sees them: only through the exported functions and the
// shared binary interface. They must refuse, and count, what a real host would refuse.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "host/engine/StandInControl.h"
#include "hostlib/HostInterface.h"

using namespace hostabi;
using namespace hostabi::message;

extern "C" {
int32_t HOSTABI_CALL FicGestalt(int32_t, int32_t*);
int32_t HOSTABI_CALL FicNewServer();
int32_t HOSTABI_CALL FicFindStandardType(int32_t, int32_t);
int32_t HOSTABI_CALL FicNewObject(int32_t, int32_t);
int32_t HOSTABI_CALL FicDelete(int32_t);
int32_t HOSTABI_CALL FicSDSDispatchToken(const void*);
int32_t HOSTABI_CALL FicRegisterControl(int32_t, int32_t, int32_t*);
int32_t HOSTABI_CALL FicRegisterProcess(int32_t, const int32_t*, int32_t, int32_t*);
int32_t HOSTABI_CALL FicNewRenderInstance(RenderCallback, void*, int32_t, int32_t,
                                          SRenderInstance**);
int32_t HOSTABI_CALL FicStartRenderInstance(SRenderInstance*);
int32_t HOSTABI_CALL FicDeleteRenderInstance(SRenderInstance*);
int16_t HOSTABI_CALL DigiExtOrdinal6562(const char*, SwapResourceProc);
int16_t HOSTABI_CALL DigiExtOrdinal6563(const char*);
void HOSTABI_CALL DigiExtOrdinal6565(int16_t);
int32_t HOSTABI_CALL GetCardList(SCardList*);
int32_t HOSTABI_CALL DSPManagerRegisterClient(int32_t, const char*);
int32_t HOSTABI_CALL DSPManagerGetVersion(int32_t);
}

namespace {

using Record = std::array<uint8_t, 48>;

Record Make(int32_t cls, int32_t kind, int32_t protocol, int32_t id, int16_t length) {
  Record r{};
  WriteInt32(r.data(), kReceiverOffset, id);
  WriteInt32(r.data(), kClassOffset, cls);
  WriteInt32(r.data(), kKindOffset, kind);
  WriteInt32(r.data(), kSignatureOffset, kSignature);
  WriteInt32(r.data(), kProtocolOffset, protocol);
  WriteInt32(r.data(), kSenderOffset, id);
  WriteInt16(r.data(), kLengthOffset, length);
  return r;
}

} // namespace

class EngineStandIn : public ::testing::Test {
protected:
  void SetUp() override {
    standin::ResetAll();
    server = FicNewServer();
    object = FicNewObject(server, FicFindStandardType(server, kTokenServiceStandardType));
    ASSERT_NE(object, 0);
    ASSERT_EQ(FicRegisterControl(object, kMasterBypassID, &control), 0);
    ASSERT_EQ(FicRegisterProcess(object, &control, 1, &process), 0);
  }
  Record Value(int32_t value) {
    Record r = Make(kClassSetValue, kKindControlValue, kProtocolControl, control, kValueLength);
    WriteInt32(r.data(), kValueOffset, value);
    return r;
  }
  int32_t server = 0, object = 0, control = 0, process = 0;
};

TEST_F(EngineStandIn, DecodesWellFormedRecords) {
  EXPECT_EQ(FicSDSDispatchToken(Value(-9).data()), 0);
  Record touch = Make(kClassSetValue, kKindGesture, kProtocolControl, control, kGestureLength);
  WriteInt16(touch.data(), kGestureStateOffset, 1);
  WriteInt32(touch.data(), kGestureOneOffset, 1);
  EXPECT_EQ(FicSDSDispatchToken(touch.data()), 0);
  EXPECT_EQ(
      FicSDSDispatchToken(
          Make(kClassSetValue, kKindEditorResized, kProtocolProcess, process, kPlainLength).data()),
      0);
  const auto m = standin::DispatchedMessages();
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].value, -9);
  EXPECT_EQ(m[0].receiver, control);
  EXPECT_EQ(m[1].gestureState, 1);
  EXPECT_EQ(m[2].kind, kKindEditorResized);
  EXPECT_EQ(standin::ErrorCount(), 0);
}

// A long session sends a message for every automated change: the engine keeps the most recent
// ones in order and no more, and a cleared record starts again from its first slot.
TEST_F(EngineStandIn, KeepsOnlyTheMostRecentMessagesInOrder) {
  constexpr int kSent = 3 * static_cast<int>(standin::kRecordedMessages) + 7;
  for (int i = 0; i < kSent; ++i)
    ASSERT_EQ(FicSDSDispatchToken(Value(i).data()), 0);
  auto m = standin::DispatchedMessages();
  ASSERT_EQ(m.size(), standin::kRecordedMessages);
  for (size_t i = 0; i < m.size(); ++i)
    ASSERT_EQ(m[i].value,
              kSent - static_cast<int>(standin::kRecordedMessages) + static_cast<int>(i))
        << i;

  standin::ClearDispatchedMessages();
  EXPECT_TRUE(standin::DispatchedMessages().empty());
  ASSERT_EQ(FicSDSDispatchToken(Value(-1).data()), 0);
  ASSERT_EQ(FicSDSDispatchToken(Value(-2).data()), 0);
  m = standin::DispatchedMessages();
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].value, -1);
  EXPECT_EQ(m[1].value, -2);
  EXPECT_EQ(standin::ErrorCount(), 0);
}

TEST_F(EngineStandIn, CountsMalformedRecordsAsErrors) {
  std::vector<Record> bad;
  bad.push_back(Make(kClassSetValue, kKindControlValue, kProtocolControl, control, 44));
  bad.push_back(Make(FourCC("XXXX"), kKindControlValue, kProtocolControl, control, 42));
  bad.push_back(Make(kClassSetValue, FourCC("what"), kProtocolControl, control, 42));
  bad.push_back(Make(kClassCurrentValue, kKindGesture, kProtocolControl, control, 44));
  bad.push_back(Make(kClassSetValue, kKindControlValue, kProtocolProcess, control, 42));
  bad.push_back(Make(kClassSetValue, kKindControlValue, kProtocolControl, control + 999, 42));
  bad.push_back(Make(kClassSetValue, kKindFirstTouch, kProtocolControl, control, 38));
  Record signature = Value(1);
  WriteInt32(signature.data(), kSignatureOffset, FourCC("NDGD"));
  bad.push_back(signature);
  Record reserved = Value(1);
  reserved[kReservedOffset + 3] = 1;
  bad.push_back(reserved);
  Record senders = Value(1);
  WriteInt32(senders.data(), kSenderOffset, process);
  bad.push_back(senders);
  Record gesture = Make(kClassSetValue, kKindGesture, kProtocolControl, control, kGestureLength);
  WriteInt16(gesture.data(), kGestureStateOffset, 2);
  WriteInt32(gesture.data(), kGestureOneOffset, 1);
  bad.push_back(gesture);
  for (const Record& r : bad)
    EXPECT_NE(FicSDSDispatchToken(r.data()), 0);
  EXPECT_NE(FicSDSDispatchToken(nullptr), 0);
  EXPECT_EQ(standin::ErrorCount(), static_cast<int>(bad.size()) + 1);
  EXPECT_TRUE(standin::DispatchedMessages().empty());
}

TEST_F(EngineStandIn, RefusesMessagesWithoutTokenService) {
  FicDelete(object);
  EXPECT_NE(FicSDSDispatchToken(Value(1).data()), 0);
  EXPECT_EQ(standin::ErrorCount(), 1);
}

TEST_F(EngineStandIn, ChecksHandles) {
  EXPECT_EQ(FicFindStandardType(server, 56), 0);
  EXPECT_EQ(FicNewObject(server + 1000, 1), 0);
  EXPECT_NE(FicDelete(123456), 0);
  int32_t id = 0;
  EXPECT_NE(FicRegisterControl(object + 1000, 1, &id), 0);
  const int32_t unknown = 4242;
  EXPECT_NE(FicRegisterProcess(object, &unknown, 1, &id), 0);
  EXPECT_NE(FicRegisterProcess(object, nullptr, -1, &id), 0);
  EXPECT_EQ(standin::ErrorCount(), 6);
  EXPECT_EQ(FicDelete(object), 0);
  EXPECT_EQ(FicDelete(server), 0);
  EXPECT_EQ(standin::LiveServerCount(), 0);
}

TEST_F(EngineStandIn, RendersOnlyStartedInstancesWithMatchingBuffers) {
  static int calls;
  calls = 0;
  RenderCallback callback = [](SRenderInstance*, SRenderContext* c) {
    ++calls;
    EXPECT_EQ(c->frames, 16);
    EXPECT_EQ(c->bufferCount, 2);
  };
  SRenderInstance* instance = nullptr;
  ASSERT_EQ(FicNewRenderInstance(callback, nullptr, 1, 1, &instance), 0);
  std::vector<float> a(16), b(16);
  std::vector<float*> buffers{a.data(), b.data()};
  EXPECT_FALSE(standin::RenderBlock(instance, buffers, 16, 16)); // not started
  FicStartRenderInstance(instance);
  EXPECT_TRUE(standin::RenderBlock(instance, buffers, 16, 16));
  EXPECT_FALSE(standin::RenderBlock(instance, buffers, 17, 16));
  std::vector<float*> three{a.data(), b.data(), b.data()};
  EXPECT_FALSE(standin::RenderBlock(instance, three, 16, 16));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(FicDeleteRenderInstance(instance), 0);
  EXPECT_NE(FicDeleteRenderInstance(instance), 0);
  EXPECT_NE(FicNewRenderInstance(nullptr, nullptr, 1, 1, &instance), 0);
}

TEST_F(EngineStandIn, GestaltAnswersDefaults) {
  int32_t answer = 0;
  EXPECT_EQ(FicGestalt(kGestaltDSPManager, &answer), 0);
  EXPECT_EQ(answer, standin::kDSPManagerHandle);
  EXPECT_EQ(FicGestalt(kGestaltSampleRate, &answer), 0);
  EXPECT_EQ(answer, 44100);
  standin::SetTokenService(false);
  EXPECT_TRUE(StatusFailed(FicGestalt(kGestaltTokenService, &answer)));
}

TEST(DigiExtStandIn, TracksResourceFiles) {
  standin::ResetDigiExt();
  const int16_t f = DigiExtOrdinal6562("/x/TAVO.so.rsr", nullptr);
  EXPECT_GT(f, 0);
  EXPECT_EQ(standin::CurrentResourceFileForTest(), f);
  EXPECT_EQ(DigiExtOrdinal6562(nullptr, nullptr), -1);
  EXPECT_EQ(DigiExtOrdinal6562(std::string(5000, 'p').c_str(), nullptr), -1);
  DigiExtOrdinal6565(99); // never opened
  EXPECT_EQ(DigiExtOrdinal6563("/x/other.rsr"), -1);
  EXPECT_EQ(standin::DigiExtErrorCount(), 4);
  EXPECT_EQ(DigiExtOrdinal6563("/x/TAVO.so.rsr"), 0);
  EXPECT_EQ(standin::CurrentResourceFileForTest(), 0);
  EXPECT_EQ(standin::ResourceFileEvents().size(), 2u);
}

TEST(DSIStandIn, ListsAtMostWhatTheRecordHolds) {
  standin::ResetDSI();
  standin::SetCards(std::vector<int32_t>(40, 21));
  SCardList list{};
  EXPECT_EQ(GetCardList(&list), 0);
  EXPECT_EQ(list.count, 16);
  EXPECT_NE(GetCardList(nullptr), 0);
}

TEST(DSPManagerStandIn, ChecksManagerAndClientNames) {
  standin::ResetDSPManager();
  EXPECT_EQ(DSPManagerGetVersion(standin::kDSPManagerHandle), 2);
  EXPECT_EQ(DSPManagerGetVersion(1), 0);
  EXPECT_EQ(DSPManagerRegisterClient(standin::kDSPManagerHandle, ""), 0);
  EXPECT_EQ(DSPManagerRegisterClient(standin::kDSPManagerHandle, std::string(300, 'c').c_str()), 0);
  EXPECT_NE(DSPManagerRegisterClient(standin::kDSPManagerHandle, "CProcessGroup<X>"), 0);
  EXPECT_EQ(standin::DSPManagerErrorCount(), 3);
}

TEST(DigiExtStandIn, LoadsResourcesThroughTheByteOrderProcedure) {
  standin::ResetDigiExt();
  SwapResourceProc swap = [](int32_t, int32_t type, int32_t, uint8_t* bytes) -> int32_t {
    if (type != FourCC("cfrg")) return 0;
    std::swap(bytes[0], bytes[3]);
    std::swap(bytes[1], bytes[2]);
    return 1;
  };
  const int16_t f = DigiExtOrdinal6562("/x/TAVO.so.rsr", swap);
  std::array<uint8_t, 4> bytes{1, 2, 3, 4};
  EXPECT_EQ(standin::LoadResource(f, FourCC("cfrg"), bytes), 1);
  EXPECT_EQ(bytes, (std::array<uint8_t, 4>{4, 3, 2, 1}));
  EXPECT_EQ(standin::LoadResource(f, FourCC("PNG "), bytes), 0);
  EXPECT_EQ(standin::LoadResource(f + 1, FourCC("cfrg"), bytes), -1);
  DigiExtOrdinal6563("/x/TAVO.so.rsr");
}
