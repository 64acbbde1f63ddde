#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

// The library stays loaded while any of its objects (extension objects and class factories)
// lives or any client holds a server lock; the counts change with interlocked operations.
void ModuleObjectCreated();
void ModuleObjectDestroyed();
void ModuleLock();
void ModuleUnlock();

HINSTANCE ModuleInstance();

// Full path of this library, of any length.
std::wstring ModulePath();

// The type library of this library's resource TYPELIB 1.
HRESULT LoadModuleTypeLib(ITypeLib** typeLib);
