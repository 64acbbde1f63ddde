#include "ProgramArguments.h"
#include "ToolSupport.h"

// The arguments come as UTF-16, so any path works whatever the code page; output is UTF-8.
int wmain(int argc, wchar_t** argv) { return RunTbltool(Utf8Arguments(argc, argv)); }
