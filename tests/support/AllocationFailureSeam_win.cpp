// Built into the module whose allocations a test makes fail (DunmoreAllocationSeam.dll, the
// tests' copy of the server, and the editor's test program): replaces its operator new so that
// a test can make one chosen allocation throw std::bad_alloc, as a real shortage of memory would.
#include "AllocationFailureSeam_win.h"

#include <cstdlib>
#include <new>

namespace {

// Allocations still to succeed before one fails; negative: none fails.
volatile LONG g_allocationsBeforeFailure = -1;

}  // namespace

extern "C" void WINAPI FailAllocationAfter(LONG successes) {
    InterlockedExchange(&g_allocationsBeforeFailure, successes);
}

void* operator new(std::size_t size) {
    if (g_allocationsBeforeFailure >= 0 && InterlockedDecrement(&g_allocationsBeforeFailure) == -1)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}
