// Starting vorelix-cli with fork and exec, its output caught in unnamed temporary files.
#include "CliRunner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace vorelix::test {
namespace {

std::string ReadAll(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
    std::fclose(file);
    return text;
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args) {
    std::vector<std::string> copies{VORELIX_CLI_PATH};
    copies.insert(copies.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // Files rather than pipes: the child can never block on a full pipe nobody reads yet.
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const pid_t child = fork();
    if (child == 0) {
        dup2(fileno(out), STDOUT_FILENO);
        dup2(fileno(err), STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return CliResult{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
}

}  // namespace vorelix::test
