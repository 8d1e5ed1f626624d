#pragma once
// The edit controller's side: parameter descriptions, values and texts, the host's component
// handler that hears the editor's gestures, and the view the editor lives in.

#include <cstddef>
#include <cstdint>

#include "vst3/abi/Unknown.h"

namespace tavo::vst3 {

struct ParameterInfo {
  enum Flags : int32_t {
    kCanAutomate = 0x1,
    kIsReadOnly = 0x2,
    kIsList = 0x8,
    kIsBypass = 0x10000
  };
  ParamID id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32_t stepCount; // 0: continuous; n: n + 1 values, normalised index / n
  double defaultNormalizedValue;
  int32_t unitId; // the root unit (0) for a plug-in without units
  int32_t flags;
};
static_assert(sizeof(ParameterInfo) == 792 && alignof(ParameterInfo) == 8);
// The default value's double sits on an 8-byte boundary on 32-bit Windows as well.
static_assert(offsetof(ParameterInfo, stepCount) == 772 &&
              offsetof(ParameterInfo, defaultNormalizedValue) == 776 &&
              offsetof(ParameterInfo, flags) == 788);

struct IComponentHandler : FUnknown {
  static constexpr Uid kIid = MakeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
  virtual tresult TAVO_VST3_CALL beginEdit(ParamID id) = 0;
  virtual tresult TAVO_VST3_CALL performEdit(ParamID id, double valueNormalized) = 0;
  virtual tresult TAVO_VST3_CALL endEdit(ParamID id) = 0;
  virtual tresult TAVO_VST3_CALL restartComponent(int32_t flags) = 0;
};

struct IPlugView; // the editor's view: vst3/abi/View.h

struct IEditController : IPluginBase {
  static constexpr Uid kIid = MakeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
  virtual tresult TAVO_VST3_CALL setComponentState(IBStream* state) = 0;
  virtual tresult TAVO_VST3_CALL setState(IBStream* state) = 0;
  virtual tresult TAVO_VST3_CALL getState(IBStream* state) = 0;
  virtual int32_t TAVO_VST3_CALL getParameterCount() = 0;
  virtual tresult TAVO_VST3_CALL getParameterInfo(int32_t paramIndex, ParameterInfo& info) = 0;
  virtual tresult TAVO_VST3_CALL getParamStringByValue(ParamID id, double valueNormalized,
                                                       String128 string) = 0;
  virtual tresult TAVO_VST3_CALL getParamValueByString(ParamID id, char16_t* string,
                                                       double& valueNormalized) = 0;
  virtual double TAVO_VST3_CALL normalizedParamToPlain(ParamID id, double valueNormalized) = 0;
  virtual double TAVO_VST3_CALL plainParamToNormalized(ParamID id, double plainValue) = 0;
  virtual double TAVO_VST3_CALL getParamNormalized(ParamID id) = 0;
  virtual tresult TAVO_VST3_CALL setParamNormalized(ParamID id, double value) = 0;
  virtual tresult TAVO_VST3_CALL setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* TAVO_VST3_CALL createView(const char* name) = 0;
};

} // namespace tavo::vst3
