// The wait library: WaitForProcess returns when a started program and every
// program it started, directly or further down, have ended. Installers often
// start a second stage and exit at once, so waiting for the first process
// alone would let the screen go on too early.
//
// Descendants are found in process snapshots: Toolhelp32 in the library for
// Windows 95/98/ME, the system process list of ntdll in the one for NT 4 and
// later (NT 4 has no Toolhelp32). Each descendant is opened as soon as it is
// seen and waited for on its handle, which also keeps its id from being given
// to another process while it matters. A snapshot is taken right after any
// member ends, and otherwise a few times a second to find new descendants of
// running members.
//
// The DLLs link no C runtime and import only KERNEL32; everything newer than
// Windows 95 and NT 4 is looked up at run time.
#include <cstddef>
#include <windows.h>
#include <tlhelp32.h>

#include "process_tree.h"

using waitlib::Candidate;
using waitlib::SnapshotEntry;
using waitlib::TreeProcess;

extern "C" DWORD WINAPI WaitForProcess(HANDLE process, DWORD processId,
                                       const char* const* ignoreList, DWORD ignoreCount);

namespace {

const DWORD kFirstPollMs = 100;  // soon after a change, new children are likely
const DWORD kMaxPollMs = 500;
const DWORD kPutOffMs = 25;  // a new process gets its name within milliseconds

// A growable array on the process heap; T must be plain data.
template <typename T>
struct Array {
    T* items = nullptr;
    size_t count = 0;
    size_t capacity = 0;

    bool Reserve(size_t wanted) {
        if (wanted <= capacity) return true;
        size_t grown = capacity ? capacity * 2 : 32;
        if (grown < wanted) grown = wanted;
        void* block = items ? HeapReAlloc(GetProcessHeap(), 0, items, grown * sizeof(T))
                            : HeapAlloc(GetProcessHeap(), 0, grown * sizeof(T));
        if (!block) return false;
        items = static_cast<T*>(block);
        capacity = grown;
        return true;
    }
    void Free() {
        if (items) HeapFree(GetProcessHeap(), 0, items);
        items = nullptr;
        count = capacity = 0;
    }
};

struct ExeName {
    char text[MAX_PATH];
};

uint64_t Value(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

uint64_t Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Value(now);
}

typedef BOOL(WINAPI* GetProcessTimesFunction)(HANDLE, LPFILETIME, LPFILETIME, LPFILETIME,
                                               LPFILETIME);

template <typename F>
F Lookup(const char* module, const char* name) {
    HMODULE handle = GetModuleHandleA(module);
    return handle ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(handle, name)))
                  : nullptr;
}

struct Times {
    uint64_t created = 0;
    uint64_t exited = 0;
};

// Windows 95 exports GetProcessTimes but does not implement it; then the
// times stay unknown and the tree relies on snapshot order alone.
Times TimesOf(HANDLE process) {
    static GetProcessTimesFunction getTimes =
        Lookup<GetProcessTimesFunction>("kernel32.dll", "GetProcessTimes");
    Times times;
    FILETIME created, exited, kernel, user;
    if (process && getTimes && getTimes(process, &created, &exited, &kernel, &user)) {
        uint64_t now = Now();
        times.created = waitlib::PlausibleTime(Value(created), now);
        times.exited = waitlib::PlausibleTime(Value(exited), now);
    }
    return times;
}

bool SameText(const char* a, size_t aLength, const char* b, size_t bLength) {
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a, static_cast<int>(aLength), b,
                          static_cast<int>(bLength)) == CSTR_EQUAL;
}

bool LeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

// Fills `entries` and `names` with the running processes. Returns false when
// no snapshot could be taken; the wait then follows the handles it has.
class Snapshotter {
public:
    bool Take(Array<SnapshotEntry>& entries, Array<ExeName>& names);
    void Free() { buffer_.Free(); }

private:
    bool Add(Array<SnapshotEntry>& entries, Array<ExeName>& names, DWORD pid, DWORD parent,
             uint64_t created) {
        if (!entries.Reserve(entries.count + 1) || !names.Reserve(entries.count + 1)) return false;
        SnapshotEntry& entry = entries.items[entries.count];
        entry.pid = pid;
        entry.parent = parent;
        entry.created = created;
        entry.taken = false;
        ++entries.count;
        return true;
    }
    Array<unsigned char> buffer_;
};

#ifdef WAIT_FLAVOUR_95

typedef HANDLE(WINAPI* SnapshotFunction)(DWORD, DWORD);
typedef BOOL(WINAPI* WalkFunction)(HANDLE, PROCESSENTRY32*);

bool Snapshotter::Take(Array<SnapshotEntry>& entries, Array<ExeName>& names) {
    static SnapshotFunction snapshot =
        Lookup<SnapshotFunction>("kernel32.dll", "CreateToolhelp32Snapshot");
    static WalkFunction first = Lookup<WalkFunction>("kernel32.dll", "Process32First");
    static WalkFunction next = Lookup<WalkFunction>("kernel32.dll", "Process32Next");
    entries.count = 0;
    if (!snapshot || !first || !next) return false;
    HANDLE list = snapshot(TH32CS_SNAPPROCESS, 0);
    if (list == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 process;
    process.dwSize = sizeof process;
    bool complete = true;
    for (BOOL more = first(list, &process); more; more = next(list, &process)) {
        // Toolhelp gives no creation time; the caller asks the handle.
        if (!Add(entries, names, process.th32ProcessID, process.th32ParentProcessID, 0)) {
            complete = false;
            break;
        }
        ExeName& name = names.items[entries.count - 1];
        size_t i = 0;
        for (; i + 1 < MAX_PATH && process.szExeFile[i]; ++i) name.text[i] = process.szExeFile[i];
        name.text[i] = 0;
        process.dwSize = sizeof process;
    }
    CloseHandle(list);
    return complete;
}

#else  // WAIT_FLAVOUR_NT

// The start of SYSTEM_PROCESS_INFORMATION, the same from NT 4 on.
struct ProcessRecord {
    ULONG nextEntryOffset;
    ULONG threadCount;
    LARGE_INTEGER reserved[3];
    LARGE_INTEGER createTime;
    LARGE_INTEGER userTime;
    LARGE_INTEGER kernelTime;
    USHORT nameLength;  // bytes
    USHORT nameMaximumLength;
    WCHAR* nameBuffer;
    LONG basePriority;
    HANDLE uniqueProcessId;
    HANDLE inheritedFromUniqueProcessId;
};

// Where the system puts the ids, in 32-bit and in 64-bit processes.
static_assert(offsetof(ProcessRecord, uniqueProcessId) == (sizeof(void*) == 8 ? 0x50 : 0x44),
              "process id where the system writes it");
static_assert(offsetof(ProcessRecord, inheritedFromUniqueProcessId) ==
                  (sizeof(void*) == 8 ? 0x58 : 0x48),
              "parent id where the system writes it");

typedef LONG(WINAPI* QueryFunction)(ULONG, PVOID, ULONG, PULONG);
const ULONG kSystemProcessInformation = 5;
const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
const size_t kMaxBuffer = 16 * 1024 * 1024;

bool Snapshotter::Take(Array<SnapshotEntry>& entries, Array<ExeName>& names) {
    static QueryFunction query = Lookup<QueryFunction>("ntdll.dll", "NtQuerySystemInformation");
    entries.count = 0;
    if (!query) return false;
    if (!buffer_.Reserve(64 * 1024)) return false;
    // NT 4 does not report the size it needs: grow until the list fits.
    for (;;) {
        ULONG needed = 0;
        LONG status = query(kSystemProcessInformation, buffer_.items,
                            static_cast<ULONG>(buffer_.capacity), &needed);
        if (status == 0) break;
        if (status != kInfoLengthMismatch || buffer_.capacity >= kMaxBuffer) return false;
        size_t wanted = buffer_.capacity * 2;
        if (needed > wanted) wanted = needed + 4096;
        if (wanted > kMaxBuffer) wanted = kMaxBuffer;
        buffer_.count = 0;
        // The old contents need not survive: free first rather than copy.
        buffer_.Free();
        if (!buffer_.Reserve(wanted)) return false;
    }
    uint64_t now = Now();
    size_t offset = 0;
    for (;;) {
        if (offset + sizeof(ProcessRecord) > buffer_.capacity) return false;
        const ProcessRecord* record = reinterpret_cast<const ProcessRecord*>(buffer_.items + offset);
        DWORD pid = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(record->uniqueProcessId));
        DWORD parent =
            static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(record->inheritedFromUniqueProcessId));
        uint64_t created = waitlib::PlausibleTime(
            static_cast<uint64_t>(record->createTime.QuadPart), now);
        if (!Add(entries, names, pid, parent, created))
            return false;
        ExeName& name = names.items[entries.count - 1];
        int length = 0;
        if (record->nameBuffer && record->nameLength)
            length = WideCharToMultiByte(CP_ACP, 0, record->nameBuffer, record->nameLength / 2,
                                         name.text, MAX_PATH - 1, nullptr, nullptr);
        name.text[length > 0 ? length : 0] = 0;
        if (!record->nextEntryOffset) break;
        offset += record->nextEntryOffset;
    }
    return true;
}

#endif

class Waiter {
public:
    Waiter(const char* const* ignoreList, DWORD ignoreCount)
        : ignoreList_(ignoreList), ignoreCount_(ignoreList ? ignoreCount : 0) {}
    void Run(HANDLE process, DWORD processId, bool ownsHandle);
    void Free();

private:
    bool AddMember(DWORD pid, uint64_t created, HANDLE handle, bool ownsHandle);
    void NoticeEnds();
    void Adopt();
    void Admit(const Candidate& candidate);
    DWORD WaitForChange(DWORD timeout);

    const char* const* ignoreList_;
    size_t ignoreCount_;
    Array<TreeProcess> tree_;
    Array<SnapshotEntry> entries_;
    Array<ExeName> names_;
    Array<Candidate> candidates_;
    Snapshotter snapshotter_;
    uint32_t generation_ = 0;
    size_t rotation_ = 0;
    bool putOff_ = false;  // a child of the tree waits for its name
};

bool Waiter::AddMember(DWORD pid, uint64_t created, HANDLE handle, bool ownsHandle) {
    if (!tree_.Reserve(tree_.count + 1)) return false;
    TreeProcess& member = tree_.items[tree_.count++];
    member.pid = pid;
    member.created = created;
    member.exited = 0;
    member.alive = true;
    member.watched = handle == nullptr;
    member.lastGeneration = 0;
    member.handle = handle;
    member.ownsHandle = ownsHandle;
    member.putOff = 0;
    return true;
}

void Waiter::NoticeEnds() {
    for (size_t i = 0; i < tree_.count; ++i) {
        TreeProcess& member = tree_.items[i];
        if (!member.alive || !member.handle) continue;
        // Known only once the process has been set up.
        if (!member.created) member.created = TimesOf(member.handle).created;
        if (WaitForSingleObject(member.handle, 0) == WAIT_TIMEOUT) continue;
        waitlib::NoteEnded(member, TimesOf(member.handle).exited, generation_ + 1);
    }
}

// Decides on one child of the tree seen in the snapshot.
void Waiter::Admit(const Candidate& candidate) {
    const SnapshotEntry& entry = entries_.items[candidate.entry];
    const char* name = names_.items[candidate.entry].text;
    if (!name[0] && waitlib::PutOff(tree_.items[candidate.parent], generation_)) {
        putOff_ = true;
        return;
    }
    if (waitlib::IsIgnored(name, ignoreList_, ignoreCount_, &SameText, &LeadByte)) return;
    HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, entry.pid);
    if (!handle) handle = OpenProcess(SYNCHRONIZE, FALSE, entry.pid);
    if (!handle) {
        // Gone already, or not ours to open: follow it through the snapshots.
        AddMember(entry.pid, entry.created, nullptr, false);
        return;
    }
    Times times = TimesOf(handle);
    SnapshotEntry opened = entry;
    if (!opened.created) opened.created = times.created;
    const TreeProcess& parent = tree_.items[candidate.parent];
    bool sameProcess = !entry.created || !times.created || times.created == entry.created;
    if (!sameProcess || !waitlib::MayBeParentOf(parent, opened, generation_)) {
        // The id changed hands between the snapshot and the open. What the
        // snapshot listed still counts as a parent within this snapshot.
        CloseHandle(handle);
        if (!sameProcess && AddMember(entry.pid, entry.created, nullptr, false)) {
            TreeProcess& gone = tree_.items[tree_.count - 1];
            gone.alive = false;
            gone.lastGeneration = generation_;
        }
        return;
    }
    if (!AddMember(entry.pid, opened.created, handle, true)) CloseHandle(handle);
}

// Adds every descendant that the current snapshot lists.
void Waiter::Adopt() {
    if (!candidates_.Reserve(entries_.count)) return;
    for (;;) {
        size_t found = waitlib::FindChildren(tree_.items, tree_.count, entries_.items,
                                             entries_.count, generation_, candidates_.items);
        if (!found) break;
        for (size_t i = 0; i < found; ++i) Admit(candidates_.items[i]);
    }
}

// Blocks until a member ends or `timeout` passes. Waits on at most 64
// handles at a time, taking turns when there are more; NoticeEnds sees the
// others at the next round.
DWORD Waiter::WaitForChange(DWORD timeout) {
    HANDLE handles[MAXIMUM_WAIT_OBJECTS];
    DWORD count = 0;
    size_t n = tree_.count;
    for (size_t k = 0; k < n && count < MAXIMUM_WAIT_OBJECTS; ++k) {
        const TreeProcess& member = tree_.items[(rotation_ + k) % n];
        if (member.alive && member.handle) handles[count++] = member.handle;
    }
    rotation_ += MAXIMUM_WAIT_OBJECTS;
    if (!count) {
        Sleep(timeout);
        return WAIT_TIMEOUT;
    }
    return WaitForMultipleObjects(count, handles, FALSE, timeout);
}

void Waiter::Run(HANDLE process, DWORD processId, bool ownsHandle) {
    if (!AddMember(processId, TimesOf(process).created, process, ownsHandle)) return;
    DWORD poll = kFirstPollMs;
    for (;;) {
        NoticeEnds();
        ++generation_;
        putOff_ = false;
        size_t before = tree_.count;
        if (snapshotter_.Take(entries_, names_)) {
            waitlib::NoteVanished(tree_.items, tree_.count, entries_.items, entries_.count,
                                  generation_);
            Adopt();
        } else {
            entries_.count = 0;
        }
        if (!putOff_) waitlib::ClearPutOff(tree_.items, tree_.count);
        bool grew = tree_.count != before;
        size_t kept = waitlib::DropFinished(tree_.items, tree_.count, generation_);
        for (size_t i = kept; i < tree_.count; ++i)
            if (tree_.items[i].ownsHandle) CloseHandle(tree_.items[i].handle);
        tree_.count = kept;
        if (!waitlib::AnyAlive(tree_.items, tree_.count) && !putOff_) break;
        DWORD result = WaitForChange(putOff_ ? kPutOffMs : poll);
        if (grew || putOff_ || result != WAIT_TIMEOUT) {
            poll = kFirstPollMs;
        } else {
            poll *= 2;
            if (poll > kMaxPollMs) poll = kMaxPollMs;
        }
        if (result == WAIT_FAILED) Sleep(poll);  // never spin on a bad handle
    }
}

void Waiter::Free() {
    for (size_t i = 0; i < tree_.count; ++i)
        if (tree_.items[i].ownsHandle && tree_.items[i].handle) CloseHandle(tree_.items[i].handle);
    tree_.Free();
    entries_.Free();
    names_.Free();
    candidates_.Free();
    snapshotter_.Free();
}

}  // namespace

extern "C" DWORD WINAPI WaitForProcess(HANDLE process, DWORD processId,
                                       const char* const* ignoreList, DWORD ignoreCount) {
    // The pseudo handle of this process would never be signalled.
    if (process == GetCurrentProcess() || processId == GetCurrentProcessId()) return 0;
    bool ownsHandle = false;
    if (process && !processId) {
        typedef DWORD(WINAPI * IdFunction)(HANDLE);
        IdFunction idOf = Lookup<IdFunction>("kernel32.dll", "GetProcessId");
        if (idOf) processId = idOf(process);
    }
    if (!process) {
        if (!processId) return 0;
        process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
        if (!process) return 0;
        ownsHandle = true;
    }
    Waiter waiter(ignoreList, ignoreCount);
    waiter.Run(process, processId, ownsHandle);
    waiter.Free();
    return 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
