#pragma once
// Counts every global allocation of the test program that links AllocationCounter.cpp (which
// replaces the global operator new and delete), so that a test can prove a block allocates
// nothing.

namespace tavo::test {

// [any thread · lock-free] The number of global allocations since the program started.
long AllocationCount();

} // namespace tavo::test
