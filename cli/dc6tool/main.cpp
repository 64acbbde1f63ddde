// dc6tool: DC6 sprite files to PCX or PNG images and back, from the command line.
#include "ProgramArguments.h"
#include "RunDc6tool.h"

#ifdef _WIN32
// The arguments come as UTF-16, so any path works whatever the code page; output is UTF-8.
int wmain(int argc, wchar_t** argv) { return RunDc6tool(Utf8Arguments(argc, argv)); }
#else
int main(int argc, char** argv) { return RunDc6tool(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
