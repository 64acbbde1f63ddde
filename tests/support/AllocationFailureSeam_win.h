#pragma once

#include <windows.h>

// Of the allocations through operator new of the module built with AllocationFailureSeam_win.cpp,
// lets `successes` succeed and makes the next one throw std::bad_alloc; the ones after it
// succeed again. A negative count lets every one succeed.
extern "C" void WINAPI FailAllocationAfter(LONG successes);
