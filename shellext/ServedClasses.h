#pragma once

#include "ClassFactory.h"

#include <span>
#include <string_view>

// The classes this library serves: DllGetClassObject makes their factories, and registration
// approves each of them for the shell under its description.
struct ServedClass {
    const CLSID* clsid;
    ObjectCreator create;
    std::wstring_view approvedAs;  // a literal: its terminating zero is there too
};

std::span<const ServedClass> ServedClasses();
