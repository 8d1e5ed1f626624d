// The DSP-card interface stand-in: starts the stand-alone driver and lists the installed cards
// and their DSPs (none unless the host program installs some).

#include <algorithm>
#include <mutex>

#include "host/engine/StandInControl.h"

using namespace hostabi;

namespace {

struct Cards {
  std::mutex lock;
  int32_t driverStatus = 0;
  std::vector<int32_t> cards;
  std::vector<SDSPEntry> dsps;
  int starts = 0;
  int errors = 0;
};

Cards& C() {
  static Cards c;
  return c;
}

} // namespace

extern "C" {

int32_t HOSTABI_CALL InitSADriver() {
  std::lock_guard g(C().lock);
  ++C().starts;
  return C().driverStatus;
}

int32_t HOSTABI_CALL GetCardList(SCardList* list) {
  std::lock_guard g(C().lock);
  if (!list) {
    ++C().errors;
    return kErrGeneric;
  }
  const size_t n = std::min(C().cards.size(), std::size(list->cardTypes));
  list->count = static_cast<int32_t>(n);
  std::copy_n(C().cards.begin(), n, list->cardTypes);
  return 0;
}

int32_t HOSTABI_CALL GetDSPList(SDSPList* list) {
  std::lock_guard g(C().lock);
  if (!list) {
    ++C().errors;
    return kErrGeneric;
  }
  const size_t n = std::min(C().dsps.size(), std::size(list->dsps));
  list->count = static_cast<int32_t>(n);
  std::copy_n(C().dsps.begin(), n, list->dsps);
  return 0;
}

} // extern "C"

namespace standin {

void ResetDSI() {
  std::lock_guard g(C().lock);
  C().driverStatus = 0;
  C().cards.clear();
  C().dsps.clear();
  C().starts = 0;
  C().errors = 0;
}

void SetDriverStatus(int32_t status) {
  std::lock_guard g(C().lock);
  C().driverStatus = status;
}

void SetCards(std::vector<int32_t> cardTypes) {
  std::lock_guard g(C().lock);
  C().cards = std::move(cardTypes);
}

void SetDSPs(std::vector<SDSPEntry> dsps) {
  std::lock_guard g(C().lock);
  C().dsps = std::move(dsps);
}

int DriverStartCount() {
  std::lock_guard g(C().lock);
  return C().starts;
}

int DSIErrorCount() {
  std::lock_guard g(C().lock);
  return C().errors;
}

} // namespace standin
