#include "script/stdio_input_file.h"

#include <cstdio>

namespace {
class StdioInputFile : public InputFile {
public:
    explicit StdioInputFile(std::FILE* file) : file_(file) {}
    ~StdioInputFile() override { std::fclose(file_); }
    StdioInputFile(const StdioInputFile&) = delete;
    StdioInputFile& operator=(const StdioInputFile&) = delete;

    long Read(char* buffer, unsigned long size) override {
        std::size_t got = std::fread(buffer, 1, size, file_);
        if (got == 0 && std::ferror(file_)) return -1;
        return static_cast<long>(got);
    }

    long Size() override {
        if (std::fseek(file_, 0, SEEK_END) != 0) return -1;
        long size = std::ftell(file_);
        std::rewind(file_);
        return size;
    }

private:
    std::FILE* file_;
};
}  // namespace

std::unique_ptr<InputFile> OpenStdioInputFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    return std::unique_ptr<InputFile>(new StdioInputFile(file));
}
