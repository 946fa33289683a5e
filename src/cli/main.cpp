// vorelix-cli's entry point: arguments as UTF-8, the command run, its output written as UTF-8 bytes.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/Text.h"

// msvcrt's printf("%ls") cuts non-ASCII text: the output is written as UTF-8 bytes instead, and a
// console is told to show UTF-8.
int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(vorelix::platform::WideToUtf8(argv[i]));
    vorelix::cli::Console console(stdout, stderr);
    return vorelix::cli::Run(args, console);
}
#else
int main(int argc, char** argv) {
    vorelix::cli::Console console(stdout, stderr);
    return vorelix::cli::Run(std::vector<std::string>(argv + 1, argv + argc), console);
}
#endif
