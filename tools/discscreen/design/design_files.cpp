#include "design/design_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

std::string FileInsideFolder(const std::string& folderRealPath, const std::string& relative) {
    if (relative.empty() || relative[0] == '/' || relative.find('\0') != std::string::npos) return "";
    std::stringstream names(relative);
    std::string name;
    while (std::getline(names, name, '/')) {
        if (name == "..") return "";
    }
    char resolved[PATH_MAX];
    if (!realpath((folderRealPath + "/" + relative).c_str(), resolved)) return "";
    std::string path = resolved;
    if (path.compare(0, folderRealPath.size() + 1, folderRealPath + "/") != 0) return "";
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return "";
    return path;
}

namespace {

void ListFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>* files) {
    DIR* directory = opendir(folder.c_str());
    if (!directory) return;
    while (dirent* entry = readdir(directory)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info;
        std::string path = folder + "/" + name;
        if (lstat(path.c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode)) {
            ListFiles(path, prefix + name + "/", files);
        } else if (S_ISREG(info.st_mode)) {
            files->push_back(prefix + name);
        }
    }
    closedir(directory);
}

}  // namespace

std::vector<std::string> FilesOfFolder(const std::string& folderRealPath) {
    std::vector<std::string> files;
    ListFiles(folderRealPath, "", &files);
    return files;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool ReplaceFile(const std::string& path, const std::string& bytes, std::string* why) {
    std::size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = folder + "/." + base + ".saving-XXXXXX";
    int file = mkstemp(temporary.data());
    if (file < 0) {
        *why = "cannot make a file beside the script: " + std::string(std::strerror(errno));
        return false;
    }
    struct stat info;
    if (stat(path.c_str(), &info) == 0) fchmod(file, info.st_mode & 07777);
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t count = write(file, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        written += static_cast<std::size_t>(count);
    }
    bool whole = written == bytes.size() && fsync(file) == 0;
    if (close(file) != 0) whole = false;
    if (!whole || rename(temporary.c_str(), path.c_str()) != 0) {
        *why = "cannot write the script: " + std::string(std::strerror(errno));
        unlink(temporary.c_str());
        return false;
    }
    return true;
}
