#include "design/scratch_script.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

ScratchScript::ScratchScript() {
    fd_ = memfd_create("discscreen-script", MFD_CLOEXEC);
    if (fd_ >= 0) path_ = "/proc/self/fd/" + std::to_string(fd_);
}

ScratchScript::~ScratchScript() {
    if (fd_ >= 0) close(fd_);
}

bool ScratchScript::Write(const std::string& bytes, std::string* why) {
    if (fd_ < 0) {
        *why = "cannot hold the edited script in memory";
        return false;
    }
    bool whole = ftruncate(fd_, 0) == 0;
    std::size_t written = 0;
    while (whole && written < bytes.size()) {
        ssize_t count = pwrite(fd_, bytes.data() + written, bytes.size() - written, static_cast<off_t>(written));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) whole = false;
        else written += static_cast<std::size_t>(count);
    }
    if (!whole) *why = "cannot hold the edited script in memory: " + std::string(std::strerror(errno));
    return whole;
}
