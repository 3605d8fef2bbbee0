// The decisions of the wait library that need no Windows: which processes of
// a snapshot belong to the tree being waited for, when a tree member that has
// ended stops counting as a parent, and which file names the ignore list
// leaves out. Plain arrays and no library calls, because the wait DLLs link
// no C runtime.
#ifndef DISCSCREEN_WAITLIB_PROCESS_TREE_H
#define DISCSCREEN_WAITLIB_PROCESS_TREE_H

#include <stddef.h>
#include <stdint.h>

namespace waitlib {

// One process as a snapshot lists it. Times are FILETIME units; 0 means
// the snapshot does not say.
struct SnapshotEntry {
    uint32_t pid;
    uint32_t parent;
    uint64_t created;
    bool taken;  // already judged in this snapshot: joined the tree or refused
};

// One process of the tree: the started program or one of its descendants.
struct TreeProcess {
    uint32_t pid;
    uint64_t created;  // 0: not known
    uint64_t exited;   // 0: alive or not known
    bool alive;
    // Without a handle the process is alive as long as snapshots list it.
    bool watched;
    // Generation of the last snapshot in which an ended process may still be
    // found as a parent: the first one taken after its end was noticed. Every
    // child it made before it ended is in that snapshot, if still running.
    uint32_t lastGeneration;
    void* handle;
    bool ownsHandle;
    // How often a decision on one of its children was put off (see PutOff).
    uint32_t putOff;
};

// Whether `child` may be a child of tree member `parent` in snapshot
// `generation`. Parent ids go stale when their process ends and the id is
// given to a new process, so the creation times must agree where known.
bool MayBeParentOf(const TreeProcess& parent, const SnapshotEntry& child, uint32_t generation);

// Whether the entry is a process that the tree already holds.
bool InTree(const TreeProcess* tree, size_t count, const SnapshotEntry& entry);

// A child of the tree found in a snapshot.
struct Candidate {
    size_t entry;   // index into the snapshot
    size_t parent;  // index into the tree
};

// One pass over the snapshot: every entry not yet taken whose parent is in
// the tree is taken and written to `out` (room for `entryCount`). The caller
// adds those it accepts to the tree and calls again until none are found, so
// that grandchildren listed in the same snapshot are found too. Returns how
// many were written.
size_t FindChildren(const TreeProcess* tree, size_t treeCount, SnapshotEntry* entries,
                    size_t entryCount, uint32_t generation, Candidate* out);

// Watched members that the snapshot no longer lists have ended. A member
// whose id the snapshot gives to a process of another creation time has
// ended too, and cannot be anyone's parent any more.
void NoteVanished(TreeProcess* tree, size_t count, const SnapshotEntry* entries,
                  size_t entryCount, uint32_t generation);

// Records the end of a member noticed through its handle, before snapshot
// `nextGeneration` is taken.
void NoteEnded(TreeProcess& member, uint64_t exitTime, uint32_t nextGeneration);

// A process that is still being set up is listed without its file name, so
// the ignore list cannot be applied yet: the decision on that child of
// `parent` waits for the next snapshot, and an ended parent stays a parent
// until then. Returns false when this has happened in too many snapshots in
// a row for one parent, and the child is to be judged as it is.
bool PutOff(TreeProcess& parent, uint32_t generation);
const uint32_t kMaxPutOff = 200;
// After a snapshot in which nothing was put off.
void ClearPutOff(TreeProcess* tree, size_t count);

// Moves the members that can matter no more (ended, and their last snapshot
// is done) behind the others, keeping order; returns how many remain in
// front. The caller closes the handles of those behind.
size_t DropFinished(TreeProcess* tree, size_t count, uint32_t generation);

bool AnyAlive(const TreeProcess* tree, size_t count);

// A time that the system reports for a process, or 0 when it cannot be true:
// a process that is still being set up may report an uninitialised creation
// time far in the future. `now` is the current system time.
uint64_t PlausibleTime(uint64_t time, uint64_t now);

// Compares two strings of given lengths without regard to letter case.
typedef bool (*SameTextFunction)(const char* a, size_t aLength, const char* b, size_t bLength);
// Tells the lead byte of a two-byte character in the system's code page.
typedef bool (*LeadByteFunction)(unsigned char c);

// The file name of a path: what follows the last "\", "/" or ":", with
// two-byte characters (whose second byte may be a backslash) kept whole.
const char* FileNamePart(const char* path, LeadByteFunction isLeadByte);

// Whether a process with this executable path is left out by the ignore list.
// Only file names are compared, in any letter case; a listed name without an
// extension ("msiexec") stands for that name with any extension.
bool IsIgnored(const char* exePath, const char* const* names, size_t nameCount,
               SameTextFunction same, LeadByteFunction isLeadByte);

}  // namespace waitlib

#endif
