#include "design/script_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "design/design_files.h"

namespace {

std::string Failure(const std::string& what) { return what + ": " + std::strerror(errno); }

bool WriteAll(int file, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t count = pwrite(file, bytes.data() + written, bytes.size() - written, static_cast<off_t>(written));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

bool ReadAll(int file, std::string* bytes) {
    bytes->clear();
    char buffer[65536];
    for (off_t at = 0;;) {
        ssize_t count = pread(file, buffer, sizeof buffer, at);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        if (count == 0) return true;
        bytes->append(buffer, static_cast<std::size_t>(count));
        at += count;
    }
}

void SyncFolder(const std::string& folder) {
    int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return;
    fsync(handle);
    close(handle);
}

// Several names share the file: only writing into it keeps them one file.
SaveOutcome SaveInPlace(const std::string& path, const std::string& expected, const std::string& bytes,
                        std::string* why) {
    int file = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (file < 0) {
        *why = Failure("cannot open the script");
        return SaveOutcome::kFailed;
    }
    std::string onDisk;
    SaveOutcome outcome = SaveOutcome::kSaved;
    if (!ReadAll(file, &onDisk)) {
        *why = Failure("cannot read the script");
        outcome = SaveOutcome::kFailed;
    } else if (onDisk != expected) {
        outcome = SaveOutcome::kChangedOnDisk;
    } else if (!WriteAll(file, bytes) || ftruncate(file, static_cast<off_t>(bytes.size())) != 0 || fsync(file) != 0) {
        *why = Failure("cannot write the script");
        outcome = SaveOutcome::kFailed;
    }
    close(file);
    return outcome;
}

// The new text in a file beside the script, with its owner and mode, synced.
bool WriteBeside(std::string* temporary, const struct stat& like, const std::string& bytes, std::string* why) {
    int file = mkstemp(temporary->data());
    if (file < 0) {
        *why = Failure("cannot make a file beside the script");
        return false;
    }
    // Only root can give a file away; anyone else saves their own files here.
    if (fchown(file, like.st_uid, like.st_gid) != 0 && geteuid() == 0) {
        *why = Failure("cannot give the new file the script's owner");
        close(file);
        unlink(temporary->c_str());
        return false;
    }
    bool whole = fchmod(file, like.st_mode & 07777) == 0 && WriteAll(file, bytes) && fsync(file) == 0;
    if (close(file) != 0) whole = false;
    if (!whole) {
        *why = Failure("cannot write the script");
        unlink(temporary->c_str());
    }
    return whole;
}

// Waits, a bounded time, until no one but this process has the file open:
// a write lease is granted only then, and is kept until the compare is done.
bool WaitUntilAlone(int file) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (fcntl(file, F_SETLEASE, F_WRLCK) == 0) return true;
        if (errno != EAGAIN && errno != EBUSY) return false;  // no leases here
        usleep(1000);
    }
    return false;
}

// Where files cannot be swapped: the compare as late as can be, then the
// rename.
SaveOutcome RenameOver(const std::string& temporary, const std::string& target, const std::string& expected,
                       std::string* why) {
    std::string onDisk;
    if (!ReadWholeFile(target, &onDisk) || onDisk != expected) {
        unlink(temporary.c_str());
        return SaveOutcome::kChangedOnDisk;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        *why = Failure("cannot put the new script in place");
        unlink(temporary.c_str());
        return SaveOutcome::kFailed;
    }
    SyncFolder(target.substr(0, target.find_last_of('/')));
    return SaveOutcome::kSaved;
}

}  // namespace

SaveOutcome SaveScript(const std::string& path, const std::string& expected, const std::string& bytes,
                       std::string* why) {
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) {
        *why = Failure("cannot find the script");
        return SaveOutcome::kChangedOnDisk;
    }
    const std::string target = resolved;
    struct stat info;
    if (stat(target.c_str(), &info) != 0) {
        *why = Failure("cannot find the script");
        return SaveOutcome::kChangedOnDisk;
    }
    std::string onDisk;
    if (!ReadWholeFile(target, &onDisk) || onDisk != expected) return SaveOutcome::kChangedOnDisk;
    if (bytes == expected) return SaveOutcome::kSaved;
    // A file of several names, or of another user (whose ownership a new
    // file could not take), is written into.
    if (info.st_nlink > 1 || (geteuid() != 0 && info.st_uid != geteuid())) {
        return SaveInPlace(target, expected, bytes, why);
    }

    const std::size_t slash = target.find_last_of('/');
    const std::string folder = target.substr(0, slash);
    std::string temporary = folder + "/." + target.substr(slash + 1) + ".saving-XXXXXX";
    if (!WriteBeside(&temporary, info, bytes, why)) return SaveOutcome::kFailed;

    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) != 0) {
        if (errno == EINVAL || errno == ENOSYS) return RenameOver(temporary, target, expected, why);
        *why = Failure("cannot put the new script in place");
        unlink(temporary.c_str());
        return SaveOutcome::kFailed;
    }
    // What was swapped out must be the text the edits were made on; else it
    // was written in between, and goes back. An editor that opened it just
    // before the swap may still be writing into it: it is compared once no
    // one else holds it open.
    std::string swappedOut;
    int old = open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    const bool alone = old >= 0 && WaitUntilAlone(old);
    const bool same = old >= 0 && ReadAll(old, &swappedOut) && swappedOut == expected;
    if (alone) fcntl(old, F_SETLEASE, F_UNLCK);
    if (old >= 0) close(old);
    if (!same) {
        renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE);
        unlink(temporary.c_str());
        SyncFolder(folder);
        return SaveOutcome::kChangedOnDisk;
    }
    unlink(temporary.c_str());
    SyncFolder(folder);
    return SaveOutcome::kSaved;
}
