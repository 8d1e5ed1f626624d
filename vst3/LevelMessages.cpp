#include "vst3/LevelMessages.h"

#include <cstring>

namespace tavo::vst3 {

Connection::~Connection() {
  SetHost(nullptr);
  if (peer_) peer_->release();
}

void Connection::SetHost(FUnknown* context) {
  if (host_) host_->release();
  host_ = nullptr;
  void* app = nullptr;
  if (context &&
      context->queryInterface(reinterpret_cast<const char*>(IHostApplication::kIid.bytes.data()),
                              &app) == kResultOk)
    host_ = static_cast<IHostApplication*>(app);
}

tresult Connection::Connect(IConnectionPoint* other) {
  if (!other) return kInvalidArgument;
  if (peer_) return kResultFalse; // one peer only
  other->addRef();
  peer_ = other;
  return kResultOk;
}

tresult Connection::Disconnect(IConnectionPoint* other) {
  if (!peer_ || other != peer_) return kResultFalse;
  peer_->release();
  peer_ = nullptr;
  return kResultOk;
}

bool Connection::Send(const char* id, const double* value) {
  if (!peer_ || !host_) return false;
  char iid[16];
  CopyUid(IMessage::kIid, iid);
  void* obj = nullptr;
  if (host_->createInstance(iid, iid, &obj) != kResultOk || !obj) return false;
  auto* message = static_cast<IMessage*>(obj);
  message->setMessageID(id);
  if (value) {
    if (IAttributeList* attributes = message->getAttributes())
      attributes->setFloat(kLevelAttribute, *value);
  }
  peer_->notify(message);
  message->release();
  return true;
}

bool IsMessage(IMessage* message, const char* id) {
  const char* mine = message ? message->getMessageID() : nullptr;
  return mine && std::strcmp(mine, id) == 0;
}

} // namespace tavo::vst3
