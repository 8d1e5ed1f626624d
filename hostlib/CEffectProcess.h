#pragma once
// The effect branch of the process tree. CEffectProcess knows its type and group, initialises
// itself from the type's channel formats, creates its editor view and registers with the host.
// CEffectProcessRTAS adds real-time rendering: the host instance created at connection and the
// render callback the engine calls on its real-time thread.
//
// CEffectProcess is a virtual base of the real-time process so that an adaptor can derive from
// CEffectProcess (virtually) for what all its forms share and join the real-time form below:
// the adaptor's process then holds one CEffectProcess, and every operation has one final
// overrider.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "hostlib/CAdaptorPlugIn.h"
#include "hostlib/CProcess.h"

class CEffectType;

class CEffectProcess : public CDSPProcess {
public:
  CEffectProcess() = default;
  ~CEffectProcess() override;

  // [main thread · may throw CDAEError] Once the type is known: channel counts from its stem
  // formats, the effect hook (which adds the controls), the editor view unless the host handles
  // views itself, and, while the token service runs, registration with the host.
  virtual void Initialize();

  // Hooks of the effect-process table; the core's versions do nothing.
  // [main thread] 18 — the derived class creates its controls here.
  virtual void InitializeEffect();
  // [main thread] 22, 23
  virtual void ExtraInputConnected();
  virtual void ExtraInputDisconnected();

  // [main thread · may throw CDAEError] The process's editor view, made (slot 153) and
  // initialised now when it has none; null when the process makes no view. A view whose
  // initialisation throws is destroyed and the error passed on.
  CPlugInView* MakeEditorView();

  // [main thread] The group's settings path; empty when the group is not an effect group.
  int32_t GetSettingsPath(hostabi::SHostPath* path) override;

  // [main thread] Set by the type that created the process.
  void AttachType(CEffectType* type);
  void DetachType() { type = nullptr; }
  CEffectType* Type() const { return type; }

  bool ExtraInputFlag() const { return extraInput != 0; }
  void SetExtraInputFlag(bool on) { extraInput = on ? 1 : 0; }

protected:
  CEffectType* type = nullptr;
  uint8_t extraInput = 0;
};

class CEffectProcessRTAS : public virtual CEffectProcess {
public:
  CEffectProcessRTAS() = default;
  ~CEffectProcessRTAS() override;

  // [main thread · may throw CDAEError] Also sizes the pointer arrays the render callback fills.
  void Initialize() override;

  // [main thread] RTAS slot 1: creates the host instance and starts it. −9006 when it cannot be
  // allocated; a status the engine refused with is answered as it is.
  virtual int32_t Connect();
  // [audio thread] RTAS slot 2: renders one block. inputs and outputs hold InputCount() (+1 with
  // the extra input) and OutputCount() buffers of `frames` samples.
  virtual void RenderAudio(float** inputs, float** outputs, int32_t frames) = 0;

  // [main thread] The master bypass control sets the bypass flag before anything else.
  int32_t SetControlValueFromHost(int32_t index, int32_t value) override;

  // [any thread · lock-free]
  bool IsBypassed() const { return bypass.load(std::memory_order_acquire); }
  bool HasRendered() const { return rendered.load(std::memory_order_acquire); }
  bool IsInitialized() const { return initialized; }
  CAdaptorPlugIn* HostInstance() const { return hostInstance.get(); }

  // [audio thread] The engine's per-block entry; finds the process through the instance.
  static void HOSTABI_CALL RenderCallback(hostabi::SRenderInstance* instance,
                                          hostabi::SRenderContext* context);

protected:
  void RenderFromEngine(hostabi::SRenderInstance* instance, hostabi::SRenderContext* context);

  std::atomic<bool> bypass{false};
  std::atomic<bool> rendered{false};
  bool initialized = false;
  std::unique_ptr<CAdaptorPlugIn> hostInstance;
  std::vector<float*> inputPointers;
  std::vector<float*> outputPointers;
  hostabi::SRenderInstance* lastInstance = nullptr;
  hostabi::SRenderContext* lastContext = nullptr;
};
