#pragma once

#include <windows.h>

#include <new>

// Runs the body of a COM entry point. Dunmore lives inside the shell's process, so no C++
// exception may leave it: running out of memory becomes E_OUTOFMEMORY and any other
// exception E_FAIL.
template <typename Body>
HRESULT AtComBoundary(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}
