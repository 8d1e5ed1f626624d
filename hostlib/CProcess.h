#pragma once
// The host library's per-instance object. It owns the instance's controls (index 1 is the first
// added), turns control changes into messages to the host engine while the engine's token
// service runs, counts user gestures and keeps the state-change counter. Derived classes (the
// process adaptor) supply the effect-specific parts.
//
// The virtual operations are declared in the host's slot order (the slot number precedes each);
// the routine dispatcher binds the host's selectors to them by name.
//
// Every operation here runs on the host's main thread; the core takes no lock of its own.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostlib/CPlugInView.h"
#include "hostlib/CPluginControl.h"
#include "hostlib/HostInterface.h"

class CProcess {
public:
  CProcess();
  CProcess(const CProcess&) = delete;
  CProcess& operator=(const CProcess&) = delete;
  virtual ~CProcess();

  // 8 — the core leaves the rectangle as it is.
  virtual int32_t GetEditorRect(hostabi::SViewRect* rect);
  // 9 — stores the host's window reference (null: detached).
  virtual int32_t SetEditorWindow(void* window);
  // 38 — the control's own automatable flag; 0 for an invalid index.
  virtual int32_t IsControlAutomatable(int32_t index, uint8_t* automatable);
  // 46 — the control's current value, 0 for an invalid index.
  virtual int32_t GetControlValue(int32_t index, int32_t* value);
  // 47 — a change made on the plug side: told to the host as touch, value, release while the
  // token service runs; else applied host side (110, then 109). Invalid indices are ignored.
  virtual int32_t SetControlValue(int32_t index, int32_t value);
  // 49 — the control's default; an invalid index falls back to 46.
  virtual int32_t GetControlDefaultValue(int32_t index, int32_t* value);
  // 76 … 82 — the core's chunk: 'elck', every control value as an int32 after the header.
  virtual int32_t GetNumChunks(int32_t* count);
  virtual int32_t GetChunkID(int32_t index, int32_t* chunkID);
  virtual int32_t GetChunkName(int32_t chunkID, hostabi::SHostString* name);
  virtual int32_t GetChunkSize(int32_t chunkID, int32_t* size);
  virtual int32_t GetChunk(int32_t chunkID, hostabi::SFicPlugInChunk* chunk);
  // The host's chunk is trusted only within its own size field, and only when that size is no
  // more than the chunk this process writes.
  virtual int32_t SetChunk(int32_t chunkID, const hostabi::SFicPlugInChunk* chunk);
  virtual int32_t CompareChunk(int32_t chunkID, const hostabi::SFicPlugInChunk* chunk,
                               uint8_t* equal);
  // 90 — no delay in the core.
  virtual int32_t GetDelaySamples(int32_t* samples);
  // 109 — follows a host-side application of a plug-side change; nothing in the core.
  virtual int32_t ControlValueApplied(int32_t index, int32_t value);
  // 110 — a value set by the host: stored, reported to 111, echoed to the host as its current
  // value while the token service runs; counts as a state change.
  virtual int32_t SetControlValueFromHost(int32_t index, int32_t value);
  // 111 — nothing in the core.
  virtual void ControlValueChanged(int32_t index);
  // 121 — answers 0 and writes 0.
  virtual int32_t QueryFourArguments(int32_t a, int32_t b, int32_t c, int32_t* answer);
  // 122, 123 — the start and end of a user gesture; only the first touch and the last release
  // of nested gestures reach the host. A release without a touch is ignored.
  virtual int32_t TouchControl(int32_t index);
  virtual int32_t ReleaseControl(int32_t index);
  // 124 — no control under the mouse in the core (0).
  virtual int32_t GetControlUnderMouse(int32_t x, int32_t y, int32_t* index);
  // 125 — the folder for settings files, "Plug-Ins/Undefined BaseName" in the core.
  virtual int32_t GetSettingsPath(hostabi::SHostPath* path);
  // 153 — the core makes no view.
  virtual std::unique_ptr<CPlugInView> CreateEditorView();

  // Controls. AddControl takes ownership and answers the new control's index.
  int32_t AddControl(std::unique_ptr<CPluginControl> control);
  // Records the master bypass index; a discrete control with a non-zero identifier also joins
  // the bypass control identifiers.
  void SetMasterBypassIndex(int32_t index);
  int32_t ControlCount() const { return static_cast<int32_t>(controls.size()); }
  bool IsValidControl(int32_t index) const { return index >= 1 && index <= ControlCount(); }
  CPluginControl* Control(int32_t index) const;
  int32_t MasterBypassIndex() const { return masterBypassIndex; }
  const std::vector<int32_t>& BypassControlIDs() const { return bypassControlIDs; }

  // Host registration and messages.
  bool HostTablesReady() const;
  int32_t HostControlID(int32_t index) const;
  int32_t TouchCount(int32_t index) const;
  int32_t ProcessID() const { return processID; }
  // Tells the host the editor changed size (a process message of kind 'WNRS'); 0 without the
  // token service.
  int32_t SendEditorResized();

  int32_t StateChangeCounter() const { return stateChangeCounter; }
  void MarkStateChanged() { ++stateChangeCounter; }
  int16_t InputCount() const { return inputCount; }
  int16_t OutputCount() const { return outputCount; }
  int32_t SampleRate() const { return sampleRate; }
  void* EditorWindow() const { return editorWindow; }
  CPlugInView* EditorView() const { return editorView.get(); }

protected:
  struct RegisteredChunk {
    int32_t chunkID;
    std::string name;
  };

  // Fills the host tables and registers the controls and the process with the host engine;
  // throws CDAEError for a refused registration.
  void RegisterWithHost();
  void UnregisterFromHost();
  int32_t Dispatch(const void* record) const;

  std::vector<std::unique_ptr<CPluginControl>> controls;
  int32_t masterBypassIndex = 0;
  std::vector<int32_t> bypassControlIDs;
  std::vector<int32_t> hostControlIDs; // by control index; [0] unused
  std::vector<int32_t> touchCounts;    // by control index; [0] unused
  int32_t stateChangeCounter = 0;
  int16_t inputCount = 0;
  int16_t outputCount = 0;
  int32_t sampleRate = 44100;
  int32_t processID = 0;
  std::unique_ptr<CPlugInView> editorView;
  void* editorWindow = nullptr;
  std::vector<RegisteredChunk> chunks;
};

// The DSP branch of the process tree; this program's processes run on the host processor and
// need nothing from it beyond its place in the tree.
class CDSPProcess : public virtual CProcess {};
