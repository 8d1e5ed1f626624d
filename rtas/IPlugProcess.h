#pragma once
// The process adaptor: one object per inserted instance. Towards the host it is a process of the
// host library — it owns the instance's controls, restores and saves its state chunk and reports
// the editor's size. Towards the plug-in it is the ProcessInterface through which parameter
// gestures and values reach the host and the host's transport reaches the plug-in.
//
// The process core's own operations and ProcessInterface share names with different results
// (SetControlValue answers a status to the host and nothing to the plug-in), so the plug-in side
// is a small bridge object the adaptor owns rather than a second base class.
//
// Control numbering: 1 is the master bypass control, parameter i is control i + 2.

#include <cstdint>
#include <memory>

#include "hostlib/CEffectProcess.h"
#include "rtas/IPlugRTAS.h"
#include "rtas/ProcessInterface.h"

namespace tavo {

class IPlugCustomUI;
class IPlugDigiView;

class IPlugProcess : public virtual CEffectProcess {
public:
  using PlugFactory = std::unique_ptr<IPlugRTAS> (*)();
  static constexpr int32_t kMasterBypassIndex = 1;

  // [main thread · may block] Creates the plug-in through `factory` (which serialises
  // construction); the derived form hands the process over once it is complete.
  IPlugProcess(int32_t chunkID, PlugFactory factory);
  ~IPlugProcess() override;

  // ---- Process-core operations replaced here (host's slot in brackets) ----
  // [main thread] (8) Writes nothing without a plug-in.
  int32_t GetEditorRect(hostabi::SViewRect* rect) override;
  // [main thread] (9) Opens the editor in the host's window, or closes it for null.
  int32_t SetEditorWindow(void* window) override;
  // [main thread] (47) Stores the value in the control, then tells the host.
  int32_t SetControlValue(int32_t index, int32_t value) override;
  // [main thread · takes the processing lock] (111) Pushes the control's value into the plug-in.
  void ControlValueChanged(int32_t index) override;
  // [main thread] (76 … 82) The one state chunk, identified by chunkID.
  int32_t GetNumChunks(int32_t* count) override;
  int32_t GetChunkID(int32_t index, int32_t* chunkID) override;
  int32_t GetChunkSize(int32_t chunkID, int32_t* size) override;
  int32_t GetChunk(int32_t chunkID, hostabi::SFicPlugInChunk* chunk) override;
  int32_t SetChunk(int32_t chunkID, const hostabi::SFicPlugInChunk* chunk) override;
  int32_t CompareChunk(int32_t chunkID, const hostabi::SFicPlugInChunk* chunk,
                       uint8_t* equal) override;
  // [main thread] (121)
  int32_t QueryFourArguments(int32_t a, int32_t b, int32_t c, int32_t* answer) override;
  // [main thread] (124) The parameter the user asked to automate, as a control index; 0 for none.
  int32_t GetControlUnderMouse(int32_t x, int32_t y, int32_t* index) override;
  // [main thread] (153) The host's view for the editor; null when it cannot be made.
  std::unique_ptr<CPlugInView> CreateEditorView() override;
  // [main thread] Effect hooks: controls, channels, sample rate, Reset.
  void InitializeEffect() override;
  void ExtraInputConnected() override;
  void ExtraInputDisconnected() override;

  // [main thread] The plug-in's control value for parameter i sent to the host.
  void Inform(int paramIdx);
  // [main thread] Closes the editor window for a size change and asks the host to reattach.
  void EditorResizing();

  IPlugRTAS* Plug() const { return plug.get(); }
  ProcessInterface& PlugSide() { return bridge; }
  IPlugCustomUI* EditorUI() const { return editorUI.get(); }
  const hostabi::SViewRect& ViewRect() const { return viewRect; }
  IPlugDigiView* HostView() const { return hostView; }
  int32_t ChunkIdentifier() const { return chunkID; }

protected:
  // Hands the process to the plug-in; called by the most derived form once it is complete.
  void AttachToPlug();
  // The instance that answers transport queries; none in the offline form.
  virtual CAdaptorPlugIn* TransportInstance() const { return nullptr; }
  // The largest block the host will render.
  virtual int MaxBlockSize() const;

  class Bridge : public ProcessInterface {
  public:
    explicit Bridge(IPlugProcess& owner) : owner_(owner) {}
    void SetControlValue(int controlIdx, int32_t controlValue) override;
    int32_t GetControlValue(int controlIdx, int32_t* controlValue) override;
    int32_t GetControlDefault(int controlIdx, int32_t* controlValue) override;
    void SetEditorUI(void* editorUI) override;
    void TouchControl(int controlIdx) override;
    void ReleaseControl(int controlIdx) override;
    void ProcessHook7() override;
    void* GetModuleInstance() override;
    intptr_t EnterResourceContext() override;
    void LeaveResourceContext(intptr_t previous) override;
    IPlugRTAS* GetPlug() override;
    IGraphics* GetEditor() override;
    void MarkStateChanged() override;
    int GetMaxBlockSize() override;
    double GetTempo() override;
    void GetTimeSignature(int* numerator, int* denominator) override;
    int GetSamplePosition() override;
    void GetTimeInfo(ITimeInfo* info) override;
    int GetHostVersion() override;
    void CloseEditorForResize() override;
    void SendEditorResized() override;

  private:
    IPlugProcess& owner_;
  };

  // Connects the plug-in's channels the host renders, the extra input included.
  void ConnectPlugChannels();
  // The bytes the plug-in's state takes after the chunk header; −1 when it cannot be saved.
  int32_t StateBytes(IStateChunk* state);
  // The adaptor cannot see the host's buffer, only the size the host wrote into its header. A
  // size beyond any chunk a host keeps for a state of parameter values (a megabyte holds 131072
  // of them) is a damaged header, not a buffer that long.
  static constexpr int64_t kLargestChunkState = 1 << 20;
  // How many state bytes after the header a restore reads: the chunk's own count, at most this
  // plug-in's state size; −1 for a chunk shorter than its header, with a size no host hands
  // over, or when the plug-in's state cannot be saved.
  int32_t ReadableStateBytes(const hostabi::SFicPlugInChunk& chunk);
  IPlugCustomUI& EnsureEditorUI();

  Bridge bridge{*this};
  std::unique_ptr<IPlugCustomUI> editorUI;
  std::unique_ptr<IPlugRTAS> plug;
  void* moduleInstance = nullptr;
  int32_t chunkID;
  IPlugDigiView* hostView = nullptr; // inside the view the process core owns
  hostabi::SViewRect viewRect{};
  void* windowPort = nullptr;
};

// [main thread] The maximum block size: 32 unless the host renders variable quanta, then the
// host's largest quantum (32 when it answers nothing usable).
int MaximumBlockSizeFromHost();
// [main thread] The host engine's version in the plug-in base's encoding.
int HostVersionFromEngine();

} // namespace tavo
