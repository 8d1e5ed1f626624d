#include "effect/ChainStates.h"

namespace tavo {

namespace {

template <class T> bool ChannelFinite(const ChainChannel<T>& c) {
  for (const BiquadState<T>& s : {c.crosstalk, c.noiseShelf})
    if (!(IsFinite(s.y1) && IsFinite(s.y2) && IsFinite(s.x1) && IsFinite(s.x2))) return false;
  return true;
}

template <class T> constexpr bool kMonoForm = std::is_same_v<T, ChainStates::Working<double>>;
template <class T> constexpr bool kNoCopy = std::is_same_v<T, std::monostate>;

} // namespace

void ChainStates::Configure(double fs, double driveDb, double response, double driftBase,
                            double asym) {
  engine_.Configure(fs, driveDb, response, driftBase, asym);
  std::visit(
      [this](auto& copy) {
        if constexpr (!kNoCopy<std::remove_cvref_t<decltype(copy)>>)
          copy.engine.Retune(engine_.coefficients());
      },
      working_);
}

ChainStateRecords ChainStates::Snapshot() const {
  ChainStateRecords r{engine_.shared(), engine_.left(), engine_.right(), left_, right_};
  std::visit(
      [&r](const auto& copy) {
        using Copy = std::remove_cvref_t<decltype(copy)>;
        if constexpr (kMonoForm<Copy>) {
          r.shared = copy.engine.shared();
          r.saturatorLeft = copy.engine.channels();
          r.left = copy.channels;
        } else if constexpr (!kNoCopy<Copy>) {
          r.shared = copy.engine.shared();
          UnpackLanes<SaturatorChannel>(copy.engine.channels(), r.saturatorLeft, r.saturatorRight);
          UnpackLanes<ChainChannel>(copy.channels, r.left, r.right);
        }
      },
      working_);
  return r;
}

void ChainStates::Replace(const ChainStateRecords& r) {
  working_.emplace<std::monostate>();
  engine_.SetStates(r.shared, r.saturatorLeft, r.saturatorRight);
  left_ = r.left;
  right_ = r.right;
}

void ChainStates::Settle() {
  std::visit(
      [this](const auto& copy) {
        using Copy = std::remove_cvref_t<decltype(copy)>;
        if constexpr (kMonoForm<Copy>) {
          engine_.EndMono(copy.engine);
          left_ = copy.channels;
        } else if constexpr (!kNoCopy<Copy>) {
          engine_.EndStereo(copy.engine);
          UnpackLanes<ChainChannel>(copy.channels, left_, right_);
        }
      },
      working_);
  working_.emplace<std::monostate>();
}

bool ChainStates::Finite() const {
  return std::visit(
      [this](const auto& copy) {
        using Copy = std::remove_cvref_t<decltype(copy)>;
        if constexpr (kNoCopy<Copy>)
          return engine_.StatesFinite() && ChannelFinite(left_) && ChannelFinite(right_);
        else if constexpr (kMonoForm<Copy>) // the right channel waits in its records
          return copy.engine.StatesFinite() && ChannelFinite(copy.channels) &&
                 IsFinite(engine_.right().dc) && IsFinite(engine_.right().dcPrev) &&
                 ChannelFinite(right_);
        else
          return copy.engine.StatesFinite() && ChannelFinite(copy.channels);
      },
      working_);
}

} // namespace tavo
