#include "try/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

int StatusOf(int wait) { return WIFEXITED(wait) ? WEXITSTATUS(wait) : 128 + WTERMSIG(wait); }

}  // namespace

bool ChildProcess::Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                         int standardInput, const std::string& outFile) {
    std::vector<char*> words;
    for (const std::string& word : argv) words.push_back(const_cast<char*>(word.c_str()));
    words.push_back(nullptr);
    // Made before the fork: a child of a threaded program only execs.
    std::vector<std::string> settings(environment);
    for (char** setting = environ; *setting; ++setting) {
        std::string inherited = *setting;
        std::string name = inherited.substr(0, inherited.find('=') + 1);
        bool replaced = false;
        for (const std::string& given : environment) replaced = replaced || given.rfind(name, 0) == 0;
        if (!replaced) settings.push_back(inherited);
    }
    std::vector<char*> environmentWords;
    for (const std::string& setting : settings) environmentWords.push_back(const_cast<char*>(setting.c_str()));
    environmentWords.push_back(nullptr);
    pid_ = fork();
    if (pid_ != 0) return pid_ > 0;
    setpgid(0, 0);
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    signal(SIGPIPE, SIG_DFL);
    if (standardInput >= 0) dup2(standardInput, 0);
    if (!outFile.empty()) {
        int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
    }
    execvpe(words[0], words.data(), environmentWords.data());
    _exit(127);
}

bool ChildProcess::Running() {
    if (pid_ <= 0 || status_ >= 0) return false;
    int wait = 0;
    if (waitpid(pid_, &wait, WNOHANG) == pid_) {
        status_ = StatusOf(wait);
        return false;
    }
    return true;
}

int ChildProcess::End(int graceSeconds) {
    if (!Running()) return status_;
    kill(pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(graceSeconds);
    while (Running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (Running()) {
        kill(-pid_, SIGKILL);
        int wait = 0;
        waitpid(pid_, &wait, 0);
        status_ = StatusOf(wait);
    }
    // What it started in its group and left behind (websockify's
    // per-connection children) goes with it.
    kill(-pid_, SIGTERM);
    return status_;
}
