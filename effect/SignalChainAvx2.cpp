// The stereo frame loop compiled a second time for x86-64 processors with AVX2: the same source
// as the baseline (SignalChainFrames.h) over its own lane type, built with -mavx2 and without
// fused multiply-add, so every operation is the same correctly rounded one as on the other
// paths and the samples come out bit for bit the same. SignalChain chooses it at run time only
// where the processor has AVX2.
//
// Everything the loop calls is inlined into RunStereoAvx2 (flatten), so this unit emits no
// out-of-line copy of a shared inline function that the linker could pick for the baseline.

#include "effect/StereoLane.h"

#if TAVO_HAVE_AVX2_PATH
#if !defined(__AVX2__) || defined(__FMA__)
#error "this unit must be compiled with -mavx2 and without -mfma"
#endif

#include "effect/SignalChainFrames.h"

namespace tavo {

// [audio thread · processing lock held · no allocation]
__attribute__((flatten)) void RunStereoAvx2(SignalChain& chain, const double* const* in,
                                            double* const* out, int frames) {
  chain.Run<Avx2Pair>(in, out, frames);
}

} // namespace tavo
#endif
