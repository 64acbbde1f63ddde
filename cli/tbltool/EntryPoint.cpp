#include "ToolSupport.h"

#include <string>
#include <vector>

// Arguments are taken as UTF-8; bytes that are not survive as they are (see Utf.h).
int main(int argc, char** argv) { return RunTbltool(std::vector<std::string>(argv + 1, argv + argc)); }
