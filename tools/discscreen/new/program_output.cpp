#include "new/program_output.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

bool ProgramOutput(const std::vector<std::string>& arguments, std::string* output) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return false;
    pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], 1);
        int nothing = open("/dev/null", O_WRONLY);
        if (nothing >= 0) dup2(nothing, 2);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    output->clear();
    char buffer[4096];
    ssize_t got;
    while (child > 0 && (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) output->append(buffer, got);
    close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) < 0) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
