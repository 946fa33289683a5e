// vorelix-cli's entry point: arguments to UTF-8, the command run, its output written as UTF-8 bytes.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

void WriteBytes(std::FILE* stream, const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

int RunAndWrite(const std::vector<std::string>& args) {
    vorelix::cli::Console console;
    const int status = vorelix::cli::Run(args, console);
    WriteBytes(stdout, console.out);
    WriteBytes(stderr, console.err);
    return status;
}

}  // namespace

#ifdef _WIN32
// msvcrt's printf("%ls") cuts non-ASCII text: the output is written as UTF-8 bytes instead, and a
// console is told to show UTF-8.
int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const int length = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
        if (length > 1) WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8.data(), length, nullptr, nullptr);
        args.push_back(std::move(utf8));
    }
    return RunAndWrite(args);
}
#else
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunAndWrite(args);
}
#endif
