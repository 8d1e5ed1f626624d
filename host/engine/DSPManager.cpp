// The DSP manager stand-in: reports its version and keeps the clients that groups register,
// with their active/inactive transitions.

#include <cstring>
#include <mutex>

#include "host/engine/StandInControl.h"

using namespace hostabi;

namespace {

constexpr size_t kLongestClientName = 256;

struct Manager {
  std::mutex lock;
  int32_t version = 2;
  bool refuse = false;
  int32_t nextClient = standin::kDefaultClient + 1;
  std::vector<standin::ManagerClient> clients;
  std::vector<standin::ClientEvent> activity;
  int errors = 0;

  standin::ManagerClient* Find(int32_t handle) {
    for (auto& c : clients)
      if (c.registered && c.handle == handle) return &c;
    return nullptr;
  }
};

Manager& M() {
  static Manager m;
  return m;
}

bool Known(int32_t manager) {
  if (manager == standin::kDSPManagerHandle) return true;
  ++M().errors;
  return false;
}

} // namespace

extern "C" {

int32_t HOSTABI_CALL DSPManagerGetVersion(int32_t manager) {
  std::lock_guard g(M().lock);
  return Known(manager) ? M().version : 0;
}

int32_t HOSTABI_CALL DSPManagerDefaultClient(int32_t manager) {
  std::lock_guard g(M().lock);
  return Known(manager) && M().version > 0 ? standin::kDefaultClient : 0;
}

int32_t HOSTABI_CALL DSPManagerRegisterClient(int32_t manager, const char* name) {
  std::lock_guard g(M().lock);
  Manager& m = M();
  if (!Known(manager)) return 0;
  const size_t length = name ? strnlen(name, kLongestClientName) : 0;
  if (length == 0 || length == kLongestClientName) {
    ++m.errors;
    return 0;
  }
  if (m.refuse) return 0;
  m.clients.push_back({m.nextClient++, std::string(name, length), true});
  return m.clients.back().handle;
}

int32_t HOSTABI_CALL DSPManagerUnregisterClient(int32_t manager, int32_t client) {
  std::lock_guard g(M().lock);
  if (!Known(manager)) return kErrGeneric;
  if (client == standin::kDefaultClient) return 0; // the default client is the manager's own
  standin::ManagerClient* c = M().Find(client);
  if (!c) {
    ++M().errors;
    return kErrGeneric;
  }
  c->registered = false;
  return 0;
}

int32_t HOSTABI_CALL DSPManagerSetClientActive(int32_t manager, int32_t client, int32_t active) {
  std::lock_guard g(M().lock);
  if (!Known(manager)) return kErrGeneric;
  if (client != standin::kDefaultClient && !M().Find(client)) {
    ++M().errors;
    return kErrGeneric;
  }
  M().activity.push_back({client, active != 0});
  return 0;
}

} // extern "C"

namespace standin {

void ResetDSPManager() {
  std::lock_guard g(M().lock);
  M().version = 2;
  M().refuse = false;
  M().nextClient = kDefaultClient + 1;
  M().clients.clear();
  M().activity.clear();
  M().errors = 0;
}

void SetManagerVersion(int32_t version) {
  std::lock_guard g(M().lock);
  M().version = version;
}

void RefuseClientRegistration(bool refuse) {
  std::lock_guard g(M().lock);
  M().refuse = refuse;
}

std::vector<ManagerClient> ManagerClients() {
  std::lock_guard g(M().lock);
  return M().clients;
}

std::vector<ClientEvent> ClientActivity() {
  std::lock_guard g(M().lock);
  return M().activity;
}

int DSPManagerErrorCount() {
  std::lock_guard g(M().lock);
  return M().errors;
}

} // namespace standin
