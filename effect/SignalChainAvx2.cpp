// The stereo frame loop compiled a second time for x86-64 processors with AVX2: the same source
// as the baseline (SignalChainFrames.h) over its own lane type, generated for AVX2 (three-operand
// VEX forms) and without fused multiply-add, so every operation is the same correctly rounded one
// as on the other paths and the samples come out bit for bit the same. SignalChain chooses it at
// run time only where the processor has AVX2.
//
// Only this one function (and the four-lane operations of QuadLane.h, which nothing else reaches)
// is generated for AVX2: everything the loop calls is inlined into it (flatten), and whatever a
// build does not inline (an unoptimised one, say) is an ordinary out-of-line copy generated for
// the baseline, so no instruction the processor may lack can reach the other paths through a
// shared inline function.

#include "effect/StereoLane.h"

#if TAVO_HAVE_AVX2_PATH
#include "effect/SignalChainFrames.h"

namespace tavo {

// [audio thread · processing lock held · no allocation]
__attribute__((target("avx2"), flatten)) void
RunStereoAvx2(SignalChain& chain, const double* const* in, double* const* out, int frames) {
  chain.Run<Avx2Pair>(in, out, frames);
}

} // namespace tavo
#endif
