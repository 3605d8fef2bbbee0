#include "try/local_page.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

std::string NewToken() {
    std::random_device device;
    std::string token;
    const char digits[] = "0123456789abcdef";
    for (int i = 0; i < 32; ++i) token += digits[device() % 16];
    return token;
}

void OpenBrowser(const std::string& url) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return;
    // A grandchild opens it, so that no child of the server is left unreaped.
    pid_t child = fork();
    if (child == 0) {
        if (fork() == 0) {
            setsid();
            for (const char* opener : {"xdg-open", "sensible-browser", "chromium"}) {
                execlp(opener, opener, url.c_str(), static_cast<char*>(nullptr));
            }
            _exit(127);
        }
        _exit(0);
    }
    if (child > 0) waitpid(child, nullptr, 0);
}
