#pragma once

#include <string>
#include <vector>

// dc6tool with the arguments after the program name (UTF-8): prints to standard output and
// standard error and returns the exit status.
int RunDc6tool(const std::vector<std::string>& args);
