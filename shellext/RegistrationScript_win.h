#pragma once

#include "RegistrationScript.h"

#include <windows.h>

// Writes the script's keys and values into the registry; ForceRemove keys are deleted with
// their subkeys first. Stops at the first failure and returns it.
HRESULT RegisterScript(const std::vector<ScriptRoot>& roots);

// Whether unregistration removes the script's Shared keys: not while the server of the other
// bitness still relies on them.
enum class SharedKeys { Remove, Keep };

// Deletes every key of the script with its subkeys, except NoRemove keys, which are kept and
// searched for listed subkeys, and Shared keys when `shared` keeps them. Keys that are
// already gone are no failure.
HRESULT UnregisterScript(const std::vector<ScriptRoot>& roots, SharedKeys shared);
