#include "process_tree.h"

namespace waitlib {

bool MayBeParentOf(const TreeProcess& parent, const SnapshotEntry& child, uint32_t generation) {
    if (child.parent != parent.pid || child.pid == child.parent) return false;
    // Made before the parent existed: its real parent held the id earlier.
    if (parent.created && child.created && child.created < parent.created) return false;
    if (!parent.alive) {
        if (generation > parent.lastGeneration) return false;
        // Made after the parent ended: the id has been given to another process.
        if (parent.exited && child.created && child.created > parent.exited) return false;
    }
    return true;
}

bool InTree(const TreeProcess* tree, size_t count, const SnapshotEntry& entry) {
    for (size_t i = 0; i < count; ++i) {
        if (tree[i].pid != entry.pid) continue;
        if (!tree[i].created || !entry.created || tree[i].created == entry.created) return true;
    }
    return false;
}

size_t FindChildren(const TreeProcess* tree, size_t treeCount, SnapshotEntry* entries,
                    size_t entryCount, uint32_t generation, Candidate* out) {
    size_t found = 0;
    for (size_t e = 0; e < entryCount; ++e) {
        SnapshotEntry& entry = entries[e];
        if (entry.taken) continue;
        if (InTree(tree, treeCount, entry)) {
            entry.taken = true;
            continue;
        }
        for (size_t t = 0; t < treeCount; ++t) {
            if (!MayBeParentOf(tree[t], entry, generation)) continue;
            entry.taken = true;
            out[found].entry = e;
            out[found].parent = t;
            ++found;
            break;
        }
    }
    return found;
}

void NoteVanished(TreeProcess* tree, size_t count, const SnapshotEntry* entries,
                  size_t entryCount, uint32_t generation) {
    for (size_t t = 0; t < count; ++t) {
        TreeProcess& member = tree[t];
        if (!member.watched || !member.alive) continue;
        bool listed = false, idTaken = false;
        for (size_t e = 0; e < entryCount && !listed; ++e) {
            if (entries[e].pid != member.pid) continue;
            if (!member.created || !entries[e].created || entries[e].created == member.created)
                listed = true;
            else
                idTaken = true;
        }
        if (listed) continue;
        member.alive = false;
        // Its children made before it ended are in this snapshot, unless a
        // new process already has its id: then no entry can be told apart.
        member.lastGeneration = idTaken && generation ? generation - 1 : generation;
    }
}

void NoteEnded(TreeProcess& member, uint64_t exitTime, uint32_t nextGeneration) {
    if (!member.alive) return;
    member.alive = false;
    member.exited = exitTime;
    member.lastGeneration = nextGeneration;
}

bool PutOff(TreeProcess& parent, uint32_t generation) {
    if (parent.putOff >= kMaxPutOff) return false;
    ++parent.putOff;
    if (!parent.alive && parent.lastGeneration < generation + 1)
        parent.lastGeneration = generation + 1;
    return true;
}

void ClearPutOff(TreeProcess* tree, size_t count) {
    for (size_t i = 0; i < count; ++i) tree[i].putOff = 0;
}

size_t DropFinished(TreeProcess* tree, size_t count, uint32_t generation) {
    // A stable partition in place by rotation keeps this free of allocation;
    // the tree is small.
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i) {
        bool finished = !tree[i].alive && tree[i].lastGeneration <= generation;
        if (finished) continue;
        if (i != kept) {
            TreeProcess moving = tree[i];
            for (size_t j = i; j > kept; --j) tree[j] = tree[j - 1];
            tree[kept] = moving;
        }
        ++kept;
    }
    return kept;
}

bool AnyAlive(const TreeProcess* tree, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (tree[i].alive) return true;
    return false;
}

uint64_t PlausibleTime(uint64_t time, uint64_t now) {
    const uint64_t kSlack = 10ull * 10000000ull;  // ten seconds of clock skew between calls
    return time <= now + kSlack ? time : 0;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

size_t Length(const char* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

// Length of the name without its extension (the part from the last ".").
size_t StemLength(const char* name, size_t length, LeadByteFunction isLeadByte) {
    size_t dot = length;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (isLeadByte(c) && i + 1 < length) {
            ++i;
            continue;
        }
        if (c == '.') dot = i;
    }
    return dot;
}

bool HasDot(const char* name, size_t length, LeadByteFunction isLeadByte) {
    return StemLength(name, length, isLeadByte) != length;
}

}  // namespace

const char* FileNamePart(const char* path, LeadByteFunction isLeadByte) {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (isLeadByte(static_cast<unsigned char>(*p)) && p[1]) {
            ++p;
            continue;
        }
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    }
    return name;
}

bool IsIgnored(const char* exePath, const char* const* names, size_t nameCount,
               SameTextFunction same, LeadByteFunction isLeadByte) {
    if (!exePath || !names) return false;
    const char* exe = FileNamePart(exePath, isLeadByte);
    size_t exeLength = Length(exe);
    while (exeLength && IsBlank(exe[exeLength - 1])) --exeLength;
    if (!exeLength) return false;
    size_t exeStem = StemLength(exe, exeLength, isLeadByte);
    for (size_t i = 0; i < nameCount; ++i) {
        if (!names[i]) continue;
        const char* name = names[i];
        while (IsBlank(*name)) ++name;
        name = FileNamePart(name, isLeadByte);
        size_t length = Length(name);
        while (length && IsBlank(name[length - 1])) --length;
        if (!length) continue;
        if (HasDot(name, length, isLeadByte)) {
            if (same(exe, exeLength, name, length)) return true;
        } else if (same(exe, exeStem, name, length)) {
            return true;
        }
    }
    return false;
}

}  // namespace waitlib
