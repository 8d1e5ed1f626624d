#include "rtas/IPlugRTAS.h"

#include "rtas/ControlValueMapping.h"

namespace tavo {

IPlugRTAS::IPlugRTAS(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* makerName, int effectVersion,
                     int uniqueID, int makerID, int latency, int ignored, bool stateIsOpaque,
                     bool spareFlag)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, makerName, effectVersion,
                uniqueID, makerID, latency, ignored, stateIsOpaque, spareFlag, kApiRTAS) {
  extraInputConnected_ = 0;
  ConnectAllChannels(kInitialBlockSize);
}

void IPlugRTAS::AttachProcess(ProcessInterface* process) {
  process_ = process;
  PruneEmptyPresets();
  if (process_) ConfigureBlockSize(process_->GetMaxBlockSize());
  OnHostAttached();
}

void IPlugRTAS::SetExtraInputConnected(uint8_t connected) {
  if (connected == extraInputConnected_) return;
  ClearScratch();
  extraInputConnected_ = connected;
}

bool IPlugRTAS::ControlExists(int controlIdx) const {
  int32_t ignored = 0;
  return process_ && process_->GetControlValue(controlIdx, &ignored) == 0;
}

void IPlugRTAS::BeginHostEdit(int paramIdx) {
  const int control = paramIdx + kFirstParamControl;
  if (ControlExists(control)) process_->TouchControl(control);
}

void IPlugRTAS::SendParamToHost(int paramIdx, double /*normalized*/) {
  const int control = paramIdx + kFirstParamControl;
  const IParameter* param = GetParam(paramIdx);
  if (!param || !ControlExists(control)) return;
  process_->SetControlValue(control, ControlValueOfParam(*param));
}

void IPlugRTAS::EndHostEdit(int paramIdx) {
  const int control = paramIdx + kFirstParamControl;
  if (ControlExists(control)) process_->ReleaseControl(control);
}

void IPlugRTAS::SendAllParamsToHost() {
  for (int i = 0; i < NParams(); ++i) {
    BeginHostEdit(i);
    SendParamToHost(i, GetParam(i)->GetNormalized());
    EndHostEdit(i);
  }
}

int IPlugRTAS::SamplePosition() {
  return process_ ? process_->GetSamplePosition() : 0;
}

double IPlugRTAS::Tempo() {
  return process_ ? process_->GetTempo() : 0.0;
}

void IPlugRTAS::TimeSignature(int* numerator, int* denominator) {
  if (process_) process_->GetTimeSignature(numerator, denominator);
}

void IPlugRTAS::TimeInfo(ITimeInfo* info) {
  if (process_ && info) process_->GetTimeInfo(info);
}

int IPlugRTAS::HostKind() {
  // This interface only ever runs inside one family of hosts.
  if (host_ == -1) SetHost("ProTools", process_ ? process_->GetHostVersion() : 0);
  return host_;
}

void IPlugRTAS::ResizeEditor(int /*width*/, int /*height*/) {
  // The host's view is closed here and reopened at the new size when the host, told of the
  // change, asks for the editor rectangle again and reattaches its window; the requested size
  // is not needed since the rectangle is read from the editor itself.
  if (process_) process_->CloseEditorForResize();
  OnEditorResizing();
  if (process_) process_->SendEditorResized();
}

void IPlugRTAS::NotifyStateChanged() {
  if (process_) process_->MarkStateChanged();
}

} // namespace tavo
