// A 32-bit host owes the module no more than a 4-byte aligned stack, and a 32-bit C runtime hands
// out heap blocks aligned to 8 bytes only, while the stereo path keeps 16-byte SSE2 values both
// on the stack and inside the process's objects. Here the module's export, routines, render
// callback and window procedure are called straight from a stack offset to 4, 8 and 12 modulo
// 16 at the call (no code of the host in between to realign it): rendering, moving controls,
// saving and restoring state and drawing the editor must give the bits of a well-aligned call.
// And many processes, wherever the heap puts them, render in stereo.

#include <gtest/gtest.h>
#include <windows.h>
// The driver's HostModule::CreateProcess is not the system's CreateProcessA.
#undef CreateProcess

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "tests/host/driver/DriverFixture.h"
#include "tests/support/win/StackOffsetCall.h"

using namespace tavo::host;
using namespace tavo::host::test;
namespace sel = hostabi::selector;

using tavo::test::kStackOffsets;

namespace {

constexpr int32_t kBlocks = 40;
constexpr int32_t kQuantum = 32;

// A word of an argument list: integers and pointers alike.
template <class T> uintptr_t Word(T v) {
  if constexpr (std::is_pointer_v<T>)
    return reinterpret_cast<uintptr_t>(v);
  else
    return static_cast<uintptr_t>(v);
}

// Makes every call into the module from a stack at the given offset.
class OffsetCaller {
public:
  explicit OffsetCaller(uintptr_t offset) : offset_(offset) {
    getRoutine_ = reinterpret_cast<const void*>(
        GetProcAddress(GetModuleHandleA("TAVO.dll"), hostabi::plugin::kGetRoutineDescriptor));
  }
  template <class... A> uintptr_t Call(const void* fn, A... args) {
    const uintptr_t words[] = {Word(args)..., 0};
    const uintptr_t answer = TavoCallWithStackOffset(fn, words, sizeof...(A), offset_);
    seen_.push_back(TavoStackAtCall % 16);
    return answer;
  }
  // A routine of the table, its descriptor asked for from the same stack.
  template <class... A> int32_t Routine(uint32_t selector, void* target, A... args) {
    void* routine = nullptr;
    if (static_cast<int32_t>(Call(getRoutine_, selector, &routine)) != 0 || !routine) return -1;
    return static_cast<int32_t>(Call(routine, target, args...));
  }
  // Every stack offset the calls were made at.
  const std::vector<uintptr_t>& Seen() const { return seen_; }

private:
  uintptr_t offset_;
  const void* getRoutine_ = nullptr;
  std::vector<uintptr_t> seen_;
};

// Everything one run of the scenario saw: statuses in order, and what came out.
struct Outcome {
  std::vector<int32_t> statuses;
  std::vector<uintptr_t> offsets;
  std::vector<float> left, right;
  std::vector<uint8_t> chunk;
  uint8_t restoredCompares = 0;
  int32_t driveAfterDrag = 0;
  std::vector<uint32_t> editor;
};

// The editor's window: the deepest first child of the host's window.
HWND EditorWindowOf(HWND host) {
  HWND w = host;
  while (HWND child = GetWindow(w, GW_CHILD))
    w = child;
  return w;
}

// A host's conversation with one stereo process. Processes are made, and the editor opened and
// read back, through the driver; every render, control, state and window call goes straight into
// the module from the given stack offset.
Outcome Scenario(HostModule& module, uintptr_t offset) {
  Outcome o;
  OffsetCaller call(offset);
  std::unique_ptr<HostProcess> p, copy;
  o.statuses.push_back(module.CreateProcess({}, p));
  o.statuses.push_back(module.CreateProcess({}, copy));
  if (!p || !copy) return o;
  const auto instances = standin::RenderInstances();
  hostabi::SRenderInstance* instance = instances.at(instances.size() - 2); // p's
  const auto callback = standin::RenderCallbackOf(instance);
  o.statuses.push_back(callback ? 0 : -1);
  if (!callback) return o;

  // Controls moved as automation moves them, then blocks rendered as the engine renders them.
  o.statuses.push_back(call.Routine(sel::kProcessSetControlFromHost, p->Handle(), kDrive, 1 << 29));
  o.statuses.push_back(call.Routine(sel::kProcessSetControlFromHost, p->Handle(), kVUMode, -1));
  const Stereo in(kBlocks * kQuantum, 0.4f);
  o.left.assign(in.left.size(), 0.0f);
  o.right.assign(in.right.size(), 0.0f);
  std::vector<float> silence(kQuantum, 0.0f);
  for (int32_t b = 0; b < kBlocks; ++b) {
    const size_t at = static_cast<size_t>(b * kQuantum);
    float* buffers[] = {const_cast<float*>(in.left.data() + at),
                        const_cast<float*>(in.right.data() + at), o.left.data() + at,
                        o.right.data() + at};
    hostabi::SRenderContext context{buffers, 4, kQuantum, kQuantum, silence.data()};
    call.Call(reinterpret_cast<const void*>(callback), instance, &context);
  }

  // The state saved, restored into the other process and compared there.
  int32_t id = 0, size = 0;
  o.statuses.push_back(call.Routine(sel::kProcessChunkID, p->Handle(), 1, &id));
  o.statuses.push_back(call.Routine(sel::kProcessChunkSize, p->Handle(), id, &size));
  std::vector<hostabi::SFicPlugInChunk> store(
      (static_cast<size_t>(std::max(size, 0)) + sizeof(hostabi::SFicPlugInChunk) - 1) /
      sizeof(hostabi::SFicPlugInChunk));
  if (store.empty()) return o;
  o.statuses.push_back(call.Routine(sel::kProcessGetChunk, p->Handle(), id, store.data()));
  store[0].size = size;
  store[0].chunkID = id;
  o.statuses.push_back(call.Routine(sel::kProcessSetChunk, copy->Handle(), id, store.data()));
  o.statuses.push_back(call.Routine(sel::kProcessCompareChunk, copy->Handle(), id, store.data(),
                                    &o.restoredCompares));
  const auto* bytes = reinterpret_cast<const uint8_t*>(store.data());
  o.chunk.assign(bytes, bytes + size);

  // The editor in the driver's window: a drag on the Drive knob and the redraw timer, delivered
  // by calling the window's procedure as the system does.
  o.statuses.push_back(p->OpenEditor());
  HWND host = FindWindowA("TavoHostEditorFrame", nullptr);
  HWND editor = host ? EditorWindowOf(host) : nullptr;
  const void* procedure =
      editor ? reinterpret_cast<const void*>(GetWindowLongPtrA(editor, GWLP_WNDPROC)) : nullptr;
  o.statuses.push_back(procedure ? 0 : -1);
  if (!procedure) return o;
  call.Call(procedure, editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(84, 168));
  for (int y = 166; y >= 148; y -= 2)
    call.Call(procedure, editor, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(84, y));
  call.Call(procedure, editor, WM_LBUTTONUP, 0, MAKELPARAM(84, 148));
  o.statuses.push_back(p->GetControl(kDrive, o.driveAfterDrag));
  MSG m{};
  const DWORD start = GetTickCount();
  while (!PeekMessageA(&m, editor, WM_TIMER, WM_TIMER, PM_REMOVE) && GetTickCount() - start < 2000)
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  o.statuses.push_back(m.message == WM_TIMER ? 0 : -1);
  call.Call(procedure, editor, WM_TIMER, m.wParam, m.lParam);
  int32_t w = 0, h = 0;
  o.statuses.push_back(p->ReadEditorFrame(o.editor, w, h));
  o.statuses.push_back(p->CloseEditor());
  o.offsets = call.Seen();
  return o;
}

TEST_F(HostDriver, EveryCallWorksWhateverTheStackAlignmentTheHostCallsWith) {
  if (kStackOffsets.empty()) GTEST_SKIP() << "x86-64 callers keep the stack 16-byte aligned";
  const Outcome aligned = Scenario(*module_, 0);
  ASSERT_FALSE(aligned.statuses.empty());
  for (int32_t status : aligned.statuses)
    ASSERT_EQ(status, 0);
  ASSERT_FALSE(aligned.offsets.empty());
  for (uintptr_t seen : aligned.offsets)
    ASSERT_EQ(seen, 0u);
  EXPECT_EQ(aligned.restoredCompares, 1);
  EXPECT_EQ(aligned.chunk.size(), hostabi::kChunkHeaderBytes + 64);
  EXPECT_GT(aligned.driveAfterDrag, 1 << 29); // the drag turned Drive up
  float peak = 0.0f;
  for (float v : aligned.right)
    peak = std::max(peak, std::fabs(v));
  EXPECT_GT(peak, 0.1f);

  for (uintptr_t offset : kStackOffsets) {
    SCOPED_TRACE(testing::Message() << "stack at " << offset << " modulo 16");
    const Outcome o = Scenario(*module_, offset);
    EXPECT_EQ(o.offsets, std::vector<uintptr_t>(aligned.offsets.size(), offset));
    EXPECT_EQ(o.statuses, aligned.statuses);
    EXPECT_EQ(o.left, aligned.left);
    EXPECT_EQ(o.right, aligned.right);
    EXPECT_EQ(o.chunk, aligned.chunk);
    EXPECT_EQ(o.restoredCompares, 1);
    EXPECT_EQ(o.driveAfterDrag, aligned.driveAfterDrag);
    EXPECT_EQ(o.editor, aligned.editor);
  }
}

// Processes made one after another, with blocks of growing sizes left on the heap between them,
// land at every address the heap gives out, 8 modulo 16 included. Each lives alone, so it drifts
// from the first seed as the first did; it renders in stereo on the driver's render thread and
// by hand, and sounds as the first.
TEST_F(HostDriver, EveryProcessRendersInStereoWhereverTheHeapPutsIt) {
  std::vector<std::vector<char>> spacers;
  const Stereo in(kQuantum * 20, 0.3f);
  std::vector<float> first;
  for (int i = 0; i < 12; ++i) {
    SCOPED_TRACE(i);
    spacers.emplace_back(static_cast<size_t>(8 * i + 8));
    const std::unique_ptr<HostProcess> p = Create();
    ASSERT_NE(p, nullptr);
    const Stereo rendered = Render(*p, in);
    if (i == 0)
      first = rendered.left;
    else
      EXPECT_EQ(rendered.left, first);
    Stereo byHand(kQuantum);
    const Stereo block(kQuantum, 0.3f);
    EXPECT_EQ(p->RenderBlockHere(block.In(), byHand.Out(), kQuantum), 0);
  }
}

} // namespace
