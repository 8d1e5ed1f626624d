#include "vst3/Controller.h"

#include <cmath>
#include <cstring>
#include <new>

#include "graphics/IGraphics.h"
#include "vst3/ParamMapping.h"

namespace tavo::vst3 {

Controller::~Controller() {
  if (handler_) handler_->release();
}

tresult Controller::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (SameUid(iid, FUnknown::kIid) || SameUid(iid, IPluginBase::kIid) ||
      SameUid(iid, IEditController::kIid)) {
    *obj = static_cast<IEditController*>(this);
  } else if (SameUid(iid, IConnectionPoint::kIid)) {
    *obj = static_cast<IConnectionPoint*>(this);
  } else {
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32_t Controller::release() {
  const uint32_t left = refs_.Release();
  if (left == 0) delete this;
  return left;
}

tresult Controller::initialize(FUnknown* context) {
  const bool first = initialized_ == 0;
  const tresult made = InitializeOnce(initialized_, plug_);
  if (!first || made != kResultOk) return made;
  connection_.SetHost(context);
  plug_->GiveBackDriftSeed(); // it never renders: the processors keep the seeds in order
  plug_->SetComponentHandler(handler_);
  return kResultOk;
}

tresult Controller::terminate() {
  if (initialized_ > 0 && --initialized_ == 0) {
    plug_.reset();
    setComponentHandler(nullptr);
    connection_.SetHost(nullptr);
  }
  return kResultOk;
}

const IParameter* Controller::ParamOf(ParamID id) const {
  if (!plug_ || id >= static_cast<ParamID>(plug_->NParams())) return nullptr;
  return plug_->GetParam(static_cast<int>(id));
}

tresult Controller::setComponentState(IBStream* state) {
  if (!plug_) return kNotInitialized;
  return plug_->ReadState(state) ? kResultOk : kResultFalse;
}

tresult Controller::setState(IBStream*) {
  return kResultOk;
}

tresult Controller::getState(IBStream*) {
  return kResultOk;
}

int32_t Controller::getParameterCount() {
  return plug_ ? plug_->NParams() : 0;
}

tresult Controller::getParameterInfo(int32_t paramIndex, ParameterInfo& info) {
  const IParameter* param = paramIndex >= 0 ? ParamOf(static_cast<ParamID>(paramIndex)) : nullptr;
  if (!param) return kInvalidArgument;
  DescribeParameter(*param, static_cast<ParamID>(paramIndex), paramIndex == plug_->BypassParam(),
                    info);
  return kResultOk;
}

tresult Controller::getParamStringByValue(ParamID id, double valueNormalized, String128 string) {
  if (!plug_ || !plug_->ValueText(id, valueNormalized, string, 128)) return kInvalidArgument;
  return kResultOk;
}

tresult Controller::getParamValueByString(ParamID id, char16_t* string, double& valueNormalized) {
  if (!plug_ || !plug_->ValueFromText(id, string, &valueNormalized)) return kResultFalse;
  return kResultOk;
}

double Controller::normalizedParamToPlain(ParamID id, double valueNormalized) {
  const IParameter* param = ParamOf(id);
  if (!param || std::isnan(valueNormalized)) return 0.0;
  return PlainFromNormalized(*param, valueNormalized);
}

double Controller::plainParamToNormalized(ParamID id, double plainValue) {
  const IParameter* param = ParamOf(id);
  if (!param || std::isnan(plainValue)) return 0.0;
  return NormalizedFromPlain(*param, plainValue);
}

double Controller::getParamNormalized(ParamID id) {
  return plug_ ? plug_->Normalized(id) : 0.0;
}

tresult Controller::setParamNormalized(ParamID id, double value) {
  if (!plug_) return kNotInitialized;
  return plug_->SetNormalized(id, value) ? kResultOk : kInvalidArgument;
}

tresult Controller::setComponentHandler(IComponentHandler* handler) {
  if (handler == handler_) return kResultOk;
  if (handler) handler->addRef();
  if (handler_) handler_->release();
  handler_ = handler;
  if (plug_) plug_->SetComponentHandler(handler_);
  return kResultOk;
}

IPlugView* Controller::createView(const char* name) {
  if (!plug_ || !name || std::strcmp(name, kViewTypeEditor) != 0) return nullptr;
  try {
    return CreateEditorView(*plug_, this);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

tresult Controller::notify(IMessage* message) {
  if (!IsMessage(message, kLevelId) || !plug_) return kResultFalse;
  IAttributeList* attributes = message->getAttributes();
  double level = 0.0;
  if (!attributes || attributes->getFloat(kLevelAttribute, level) != kResultOk) return kResultFalse;
  if (IGraphics* graphics = GraphicsOf(plug_.get()))
    graphics->SetControlFromPlug(plug_->MeterControl(), level);
  return kResultOk;
}

void Controller::OnViewTick() {
  connection_.Send(kLevelRequestId, nullptr);
}

} // namespace tavo::vst3
