#pragma once
// The edited text the reader reads, held in memory as an anonymous file: the
// reader opens files by path, and no copy of the author's script is left on
// any disk when the designer ends, however it ends.
#include <string>

class ScratchScript {
public:
    ScratchScript();
    ~ScratchScript();
    ScratchScript(const ScratchScript&) = delete;
    ScratchScript& operator=(const ScratchScript&) = delete;

    // Replaces the text; false with why.
    bool Write(const std::string& bytes, std::string* why);
    // A path that opens the text ("/proc/self/fd/N").
    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};
