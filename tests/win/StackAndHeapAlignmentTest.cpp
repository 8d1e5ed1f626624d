// A 32-bit host owes the module no more than a 4-byte aligned stack, and a 32-bit C runtime hands
// out heap blocks aligned to 8 bytes only, while the stereo path keeps 16-byte SSE2 values both
// on the stack and inside the process's objects. Here the module is loaded, rendered, moved,
// saved and restored and its editor drawn from a thread whose stack is offset to 4, 8 and 12
// modulo 16 at the call, and the results must be those of a well-aligned call, bit for bit; and
// many processes, wherever the heap puts them, render in stereo.

#include <gtest/gtest.h>
#include <windows.h>
// The driver's HostModule::CreateProcess is not the system's CreateProcessA.
#undef CreateProcess

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "tests/host/driver/DriverFixture.h"

using namespace tavo::host;
using namespace tavo::host::test;

extern "C" void TavoCallWithStackOffset(void (*fn)(void*), void* arg, uintptr_t offset);
// The stack pointer at the last call TavoCallWithStackOffset made.
extern "C" uintptr_t TavoStackAtCall;
uintptr_t TavoStackAtCall = 0;

#if defined(__i386__)
// Calls fn(arg) with the stack pointer at the call instruction equal to offset modulo 16 (0 is
// what the compiler keeps among its own functions; Windows promises 4 only).
asm(R"(
    .text
    .globl _TavoCallWithStackOffset
_TavoCallWithStackOffset:
    pushl %ebp
    movl %esp, %ebp
    movl 8(%ebp), %eax
    movl 12(%ebp), %ecx
    movl 16(%ebp), %edx
    andl $-16, %esp
    subl $32, %esp
    addl %edx, %esp
    addl $4, %esp
    pushl %ecx
    movl %esp, _TavoStackAtCall
    call *%eax
    movl %ebp, %esp
    popl %ebp
    ret
)");
constexpr uintptr_t kOffsets[] = {0, 4, 8, 12};
#else
// The x86-64 calling convention keeps the stack 16-byte aligned at every call: a host that
// broke it would break the system's own code first. The scenario runs once, well aligned (the
// stack pointer is not recorded: TavoStackAtCall stays 0).
extern "C" void TavoCallWithStackOffset(void (*fn)(void*), void* arg, uintptr_t) {
  fn(arg);
}
constexpr uintptr_t kOffsets[] = {0};
#endif

namespace {

constexpr int32_t kBlocks = 40;
constexpr int32_t kQuantum = 32;

// Everything one run of the scenario saw: statuses in order, and what came out.
struct Outcome {
  std::vector<int32_t> statuses;
  uintptr_t stackAtCall = 0;
  std::vector<float> mono, stereoLeft, stereoRight;
  std::vector<uint8_t> chunk;
  bool restoredChunkCompares = false;
  std::vector<uint32_t> editor, editorAfterDrive;
  int32_t editorWidth = 0, editorHeight = 0;
};

// Renders kBlocks engine blocks by hand on the calling thread.
void RenderHere(HostProcess& p, Outcome& o, std::vector<float>& left, std::vector<float>* right) {
  const Stereo in(kBlocks * kQuantum, 0.4f);
  left.assign(in.left.size(), 0.0f);
  if (right) right->assign(in.right.size(), 0.0f);
  for (int32_t b = 0; b < kBlocks; ++b) {
    const size_t at = static_cast<size_t>(b * kQuantum);
    const float* ins[] = {in.left.data() + at, in.right.data() + at};
    float* outs[] = {left.data() + at, right ? right->data() + at : nullptr};
    o.statuses.push_back(
        p.RenderBlockHere(std::span(ins, right ? 2 : 1), std::span(outs, right ? 2 : 1), kQuantum));
  }
}

// The host's whole conversation with the module, each call on the thread that runs this.
void Scenario(void* arg) {
  auto& o = *static_cast<Outcome*>(arg);
  std::unique_ptr<HostModule> module;
  o.statuses.push_back(HostModule::Load(TAVO_MODULE_FILE, module));
  if (!module) return;
  ProcessOptions mono;
  mono.channels = 1;
  std::unique_ptr<HostProcess> m, s, copy;
  o.statuses.push_back(module->CreateProcess(mono, m));
  o.statuses.push_back(module->CreateProcess({}, s));
  o.statuses.push_back(module->CreateProcess({}, copy));
  if (!m || !s || !copy) return;

  o.statuses.push_back(m->SetControl(kDrive, 1 << 30));
  o.statuses.push_back(s->SetControl(kDrive, 1 << 29));
  o.statuses.push_back(s->SetControl(kVUMode, INT32_MAX));
  RenderHere(*m, o, o.mono, nullptr);
  RenderHere(*s, o, o.stereoLeft, &o.stereoRight);

  o.statuses.push_back(s->SaveChunk(o.chunk));
  o.statuses.push_back(copy->RestoreChunk(o.chunk));
  o.statuses.push_back(copy->CompareChunk(o.chunk, o.restoredChunkCompares));

  o.statuses.push_back(s->OpenEditor());
  o.statuses.push_back(s->TickEditor());
  o.statuses.push_back(s->ReadEditorFrame(o.editor, o.editorWidth, o.editorHeight));
  // Drive moved by the host while the editor is open: the knob turns at the next tick.
  o.statuses.push_back(s->SetControl(kDrive, INT32_MAX));
  o.statuses.push_back(s->TickEditor());
  int32_t w = 0, h = 0;
  o.statuses.push_back(s->ReadEditorFrame(o.editorAfterDrive, w, h));
  o.statuses.push_back(s->CloseEditor());
}

struct ThreadStart {
  Outcome* outcome;
  uintptr_t offset;
};

DWORD WINAPI OffsetThread(void* arg) {
  auto* start = static_cast<ThreadStart*>(arg);
  TavoCallWithStackOffset(&Scenario, start->outcome, start->offset);
  return 0;
}

Outcome RunOnThreadWithStackOffset(uintptr_t offset) {
  Outcome o;
  ThreadStart start{&o, offset};
  HANDLE thread = CreateThread(nullptr, 0, &OffsetThread, &start, 0, nullptr);
  EXPECT_NE(thread, nullptr);
  if (thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  o.stackAtCall = TavoStackAtCall;
  return o;
}

TEST_F(HostDriver, EveryCallWorksWhateverTheStackAlignmentTheHostCallsWith) {
  module_.reset(); // each scenario opens and closes the module itself
  const Outcome aligned = RunOnThreadWithStackOffset(0);
  ASSERT_FALSE(aligned.statuses.empty());
  for (int32_t status : aligned.statuses)
    ASSERT_EQ(status, 0);
  ASSERT_EQ(aligned.stackAtCall % 16, 0u);
  ASSERT_EQ(aligned.editorWidth * aligned.editorHeight,
            static_cast<int32_t>(aligned.editor.size()));
  EXPECT_NE(aligned.editor, aligned.editorAfterDrive);
  EXPECT_TRUE(aligned.restoredChunkCompares);
  float peak = 0.0f;
  for (float v : aligned.stereoLeft)
    peak = std::max(peak, std::fabs(v));
  EXPECT_GT(peak, 0.1f);

  for (uintptr_t offset : kOffsets) {
    SCOPED_TRACE(testing::Message() << "stack at " << offset << " modulo 16");
    const Outcome o = RunOnThreadWithStackOffset(offset);
    EXPECT_EQ(o.stackAtCall % 16, offset);
    EXPECT_EQ(o.statuses, aligned.statuses);
    EXPECT_EQ(o.mono, aligned.mono);
    EXPECT_EQ(o.stereoLeft, aligned.stereoLeft);
    EXPECT_EQ(o.stereoRight, aligned.stereoRight);
    EXPECT_EQ(o.chunk, aligned.chunk);
    EXPECT_TRUE(o.restoredChunkCompares);
    EXPECT_EQ(o.editor, aligned.editor);
    EXPECT_EQ(o.editorAfterDrive, aligned.editorAfterDrive);
  }
}

// Processes made one after another land at every address the heap gives out, 8 modulo 16
// included; each renders in stereo on the driver's render thread and by hand, and sounds alike.
TEST_F(HostDriver, EveryProcessRendersInStereoWhereverTheHeapPutsIt) {
  std::vector<std::unique_ptr<HostProcess>> processes;
  std::vector<std::vector<char>> spacers;
  for (int i = 0; i < 12; ++i) {
    spacers.emplace_back(static_cast<size_t>(8 * i + 8));
    processes.push_back(Create());
    ASSERT_NE(processes.back(), nullptr);
  }
  const Stereo in(kQuantum * 20, 0.3f);
  const Stereo first = Render(*processes.front(), in);
  for (size_t i = 1; i < processes.size(); ++i) {
    HostProcess* p = processes[i].get();
    SCOPED_TRACE(i);
    EXPECT_EQ(Render(*p, in).left, first.left);
    Stereo byHand(kQuantum);
    const Stereo block(kQuantum, 0.3f);
    EXPECT_EQ(p->RenderBlockHere(block.In(), byHand.Out(), kQuantum), 0);
  }
}

} // namespace
