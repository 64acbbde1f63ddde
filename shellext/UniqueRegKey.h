#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// An open registry key, closed when its owner goes.
struct RegKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;
