#pragma once

#include "RegistrationScript.h"

#include <windows.h>

// Writes the script's keys and values into the registry; ForceRemove keys are deleted with
// their subkeys first. Stops at the first failure and returns it.
HRESULT RegisterScript(const std::vector<ScriptRoot>& roots);

// Deletes every key of the script with its subkeys, except NoRemove keys, which are kept and
// searched for listed subkeys. Keys that are already gone are no failure.
HRESULT UnregisterScript(const std::vector<ScriptRoot>& roots);
