#include "hostlib/CEffectProcess.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "hostlib/CDAEError.h"
#include "hostlib/CHostEngine.h"
#include "hostlib/CModuleState.h"
#include "hostlib/CProcessGroup.h"
#include "hostlib/CProcessType.h"
#include "hostlib/CTokenService.h"

using namespace hostabi;

CEffectProcess::~CEffectProcess() {
  // The host hears of the process's end while the token service still runs; the type may stop
  // the service once its last process is gone.
  UnregisterFromHost();
  if (type) type->RemoveProcess(this);
}

void CEffectProcess::AttachType(CEffectType* owner) {
  type = owner;
  if (owner) owner->AddProcess(this);
}

void CEffectProcess::Initialize() {
  if (type) {
    inputCount = static_cast<int16_t>(type->InputChannels());
    outputCount = static_cast<int16_t>(type->OutputChannels());
  }
  int32_t rate = 0;
  if (!StatusFailed(CHostEngine::Get().Gestalt(kGestaltSampleRate, &rate)) && rate > 0)
    sampleRate = rate;

  InitializeEffect();

  // A host that opened the module itself, or asked for it, makes the views it wants through
  // MakeEditorView.
  if (!CModuleState::openedThroughWinPlugInOpen.load() && !CModuleState::skipEditorViews.load())
    MakeEditorView();

  if (CTokenService::IsAvailable()) RegisterWithHost();
}

CPlugInView* CEffectProcess::MakeEditorView() {
  if (editorView) return editorView.get();
  std::unique_ptr<CPlugInView> view = CreateEditorView();
  if (view) view->Initialize(); // a throwing view is destroyed here and the error passed on
  editorView = std::move(view);
  return editorView.get();
}

void CEffectProcess::InitializeEffect() {}
void CEffectProcess::ExtraInputConnected() {}
void CEffectProcess::ExtraInputDisconnected() {}

int32_t CEffectProcess::GetSettingsPath(SHostPath* path) {
  if (!path) return kNoErr;
  auto* group = dynamic_cast<CEffectGroup*>(type ? type->Group() : nullptr);
  if (!group) {
    path->text[0] = '\0';
    return kNoErr;
  }
  return group->GetSettingsPath(path);
}

// ---------------------------------------------------------------------------------------------

CEffectProcessRTAS::~CEffectProcessRTAS() {
  // The engine stops calling back before anything the callback touches goes away.
  hostInstance.reset();
}

void CEffectProcessRTAS::Initialize() {
  CEffectProcess::Initialize();
  // Sized once here so the render callback never allocates: one more input for the extra one.
  inputPointers.assign(static_cast<size_t>(std::max<int16_t>(inputCount, 0)) + 1, nullptr);
  outputPointers.assign(static_cast<size_t>(std::max<int16_t>(outputCount, 0)), nullptr);
  initialized = true;
}

int32_t CEffectProcessRTAS::Connect() {
  try {
    hostInstance = std::make_unique<CAdaptorPlugIn>(
        &CEffectProcessRTAS::RenderCallback, static_cast<void*>(this), inputCount, outputCount);
  } catch (const std::bad_alloc&) {
    return kErrOutOfMemory;
  } catch (int32_t status) {
    return status;
  }
  hostInstance->Start();
  return kNoErr;
}

int32_t CEffectProcessRTAS::SetControlValueFromHost(int32_t index, int32_t value) {
  if (index == masterBypassIndex && masterBypassIndex != 0)
    bypass.store(value > 0, std::memory_order_release);
  return CEffectProcess::SetControlValueFromHost(index, value);
}

void HOSTABI_CALL CEffectProcessRTAS::RenderCallback(SRenderInstance* instance,
                                                     SRenderContext* context) {
  if (!instance || !context) return;
  auto* process = static_cast<CEffectProcessRTAS*>(instance->owner);
  if (!process || !process->hostInstance) return;
  process->RenderFromEngine(instance, context);
}

void CEffectProcessRTAS::RenderFromEngine(SRenderInstance* instance, SRenderContext* context) {
  lastInstance = instance;
  lastContext = context;

  const int32_t inputs = instance->inputCount + (instance->extraInputConnected ? 1 : 0);
  const int32_t outputs = instance->outputCount;
  // A block whose buffers do not match what this process was sized for is not rendered: the
  // engine keeps whatever its buffers hold rather than the process writing past them.
  if (inputs < 0 || outputs < 0 || !context->buffers || context->bufferCount < inputs + outputs ||
      static_cast<size_t>(inputs) > inputPointers.size() ||
      static_cast<size_t>(outputs) > outputPointers.size())
    return;

  std::fill(inputPointers.begin(), inputPointers.end(), nullptr);
  for (int32_t i = 0; i < inputs; ++i)
    inputPointers[static_cast<size_t>(i)] = context->buffers[i];
  for (int32_t o = 0; o < outputs; ++o)
    outputPointers[static_cast<size_t>(o)] = context->buffers[inputs + o];

  int32_t frames = instance->variableQuantum ? context->frames : kFixedQuantum;
  frames = std::clamp(frames, 0, std::max(context->bufferFrames, 0));

  try {
    RenderAudio(inputPointers.data(), outputPointers.data(), frames);
    rendered.store(true, std::memory_order_release);
  } catch (...) {
    for (int32_t o = 0; o < outputs; ++o) {
      outputPointers[static_cast<size_t>(o)] = context->silence;
      context->buffers[inputs + o] = context->silence;
    }
  }
}
