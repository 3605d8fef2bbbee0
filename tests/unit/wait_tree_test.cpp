#include "process_tree.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

using namespace waitlib;

namespace {

TreeProcess Member(uint32_t pid, uint64_t created = 0) {
    TreeProcess m = {};
    m.pid = pid;
    m.created = created;
    m.alive = true;
    return m;
}

TreeProcess Ended(uint32_t pid, uint64_t created, uint64_t exited, uint32_t lastGeneration) {
    TreeProcess m = Member(pid, created);
    m.alive = false;
    m.exited = exited;
    m.lastGeneration = lastGeneration;
    return m;
}

SnapshotEntry Entry(uint32_t pid, uint32_t parent, uint64_t created = 0) {
    SnapshotEntry e = {};
    e.pid = pid;
    e.parent = parent;
    e.created = created;
    return e;
}

// Runs the finding passes the way the library does: every candidate joins
// the tree as a running process unless its pid is in `refuse` (the ignore
// list). Returns the pids that joined, in order.
std::vector<uint32_t> Adopt(std::vector<TreeProcess>& tree, std::vector<SnapshotEntry> entries,
                            uint32_t generation, const std::set<uint32_t>& refuse = {}) {
    std::vector<uint32_t> joined;
    std::vector<Candidate> out(entries.size());
    for (int pass = 0; pass < 100; ++pass) {
        size_t found = FindChildren(tree.data(), tree.size(), entries.data(), entries.size(),
                                    generation, out.data());
        if (!found) break;
        for (size_t i = 0; i < found; ++i) {
            EXPECT_LT(out[i].parent, tree.size());
            const SnapshotEntry& e = entries[out[i].entry];
            EXPECT_EQ(tree[out[i].parent].pid, e.parent);
            if (refuse.count(e.pid)) continue;
            tree.push_back(Member(e.pid, e.created));
            joined.push_back(e.pid);
        }
    }
    return joined;
}

bool SameAscii(const char* a, size_t an, const char* b, size_t bn) {
    if (an != bn) return false;
    for (size_t i = 0; i < an; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
// Shift-JIS lead bytes.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool NoLead(unsigned char) { return false; }

}  // namespace

TEST(MayBeParentOf, IdsAndTimes) {
    struct Case {
        const char* what;
        TreeProcess parent;
        SnapshotEntry child;
        uint32_t generation;
        bool expected;
    } cases[] = {
        {"running parent, times unknown", Member(10), Entry(20, 10), 1, true},
        {"another parent id", Member(10), Entry(20, 11), 1, false},
        {"a process listed as its own parent", Member(0), Entry(0, 0), 1, false},
        {"child older than the parent: the id was someone else's", Member(10, 500),
         Entry(20, 10, 499), 1, false},
        {"child made in the parent's first tick", Member(10, 500), Entry(20, 10, 500), 1, true},
        {"child time unknown", Member(10, 500), Entry(20, 10, 0), 1, true},
        {"ended parent, in its last snapshot, child made before the end",
         Ended(10, 500, 900, 3), Entry(20, 10, 800), 3, true},
        {"ended parent, child made at its very end", Ended(10, 500, 900, 3),
         Entry(20, 10, 900), 3, true},
        {"ended parent, child made after the end: the id was reused", Ended(10, 500, 900, 3),
         Entry(20, 10, 901), 3, false},
        {"ended parent after its last snapshot", Ended(10, 500, 900, 3), Entry(20, 10, 800), 4,
         false},
        {"ended parent, end time unknown, last snapshot", Ended(10, 0, 0, 2), Entry(20, 10), 2,
         true},
    };
    for (const Case& c : cases) EXPECT_EQ(MayBeParentOf(c.parent, c.child, c.generation), c.expected) << c.what;
}

TEST(FindChildren, WholeTreeFromOneSnapshot) {
    struct Case {
        const char* what;
        std::vector<TreeProcess> tree;
        std::vector<SnapshotEntry> snapshot;
        uint32_t generation;
        std::set<uint32_t> refuse;
        std::vector<uint32_t> joined;
    } cases[] = {
        {"children and grandchildren, listed in any order",
         {Member(10, 100)},
         {Entry(4, 0, 1), Entry(40, 30, 130), Entry(30, 20, 120), Entry(20, 10, 110),
          Entry(21, 10, 111), Entry(99, 4, 50)},
         1,
         {},
         {20, 21, 30, 40}},
        {"a child left by the id's earlier owner is not ours, nor its children",
         {Member(10, 100)},
         {Entry(20, 10, 90), Entry(30, 20, 95), Entry(21, 10, 101)},
         1,
         {},
         {21}},
        {"an ignored child and its whole subtree are left out",
         {Member(10, 100)},
         {Entry(20, 10, 110), Entry(30, 20, 120), Entry(31, 30, 130), Entry(21, 10, 111)},
         1,
         {20},
         {21}},
        {"members already held are not found again",
         {Member(10, 100), Member(20, 110)},
         {Entry(10, 1, 100), Entry(20, 10, 110), Entry(30, 20, 120)},
         1,
         {},
         {30}},
        {"the root ended: children it left are adopted in its last snapshot",
         {Ended(10, 100, 200, 2)},
         {Entry(20, 10, 150), Entry(30, 20, 250)},
         2,
         {},
         {20, 30}},
        {"and no more after it",
         {Ended(10, 100, 200, 2)},
         {Entry(20, 10, 150)},
         3,
         {},
         {}},
        {"the id of an ended member now names a newer process: its children are not ours",
         {Member(1, 50), Ended(10, 100, 200, 2)},
         {Entry(10, 7, 300), Entry(20, 10, 310)},
         2,
         {},
         {}},
        {"without any times, parent ids alone decide",
         {Member(10)},
         {Entry(20, 10), Entry(30, 20), Entry(40, 5)},
         1,
         {},
         {20, 30}},
    };
    for (Case& c : cases) {
        std::vector<uint32_t> joined = Adopt(c.tree, c.snapshot, c.generation, c.refuse);
        EXPECT_EQ(joined, c.joined) << c.what;
    }
}

TEST(InTree, IdentityByIdAndCreationTime) {
    std::vector<TreeProcess> tree = {Member(10, 100), Member(20)};
    EXPECT_TRUE(InTree(tree.data(), tree.size(), Entry(10, 1, 100)));
    EXPECT_TRUE(InTree(tree.data(), tree.size(), Entry(10, 1, 0)));   // time not listed
    EXPECT_FALSE(InTree(tree.data(), tree.size(), Entry(10, 1, 101)));  // id reused
    EXPECT_TRUE(InTree(tree.data(), tree.size(), Entry(20, 1, 555)));   // member time unknown
    EXPECT_FALSE(InTree(tree.data(), tree.size(), Entry(30, 1, 100)));
    EXPECT_FALSE(InTree(nullptr, 0, Entry(10, 1, 100)));
}

TEST(NoteVanished, WatchedMembersFollowTheSnapshots) {
    TreeProcess listed = Member(10, 100), gone = Member(20, 200), reused = Member(30, 300),
                held = Member(40, 400);
    listed.watched = gone.watched = reused.watched = true;
    held.handle = &held;  // followed through its handle, not the snapshots
    std::vector<TreeProcess> tree = {listed, gone, reused, held};
    std::vector<SnapshotEntry> snapshot = {Entry(10, 1, 100), Entry(30, 1, 350)};
    NoteVanished(tree.data(), tree.size(), snapshot.data(), snapshot.size(), 5);
    EXPECT_TRUE(tree[0].alive);
    EXPECT_FALSE(tree[1].alive);
    EXPECT_EQ(tree[1].lastGeneration, 5u) << "children it left are still in this snapshot";
    EXPECT_FALSE(tree[2].alive);
    EXPECT_EQ(tree[2].lastGeneration, 4u) << "its id names another process: no more children";
    EXPECT_TRUE(tree[3].alive);

    // The vanished member still adopts the child it left in the same snapshot.
    std::vector<SnapshotEntry> next = {Entry(21, 20, 250)};
    EXPECT_EQ(Adopt(tree, next, 5), std::vector<uint32_t>{21});
}

TEST(NoteEnded, RecordsTheEndOnce) {
    TreeProcess m = Member(10, 100);
    NoteEnded(m, 900, 4);
    EXPECT_FALSE(m.alive);
    EXPECT_EQ(m.exited, 900u);
    EXPECT_EQ(m.lastGeneration, 4u);
    NoteEnded(m, 1000, 9);
    EXPECT_EQ(m.exited, 900u);
    EXPECT_EQ(m.lastGeneration, 4u);
}

TEST(PutOff, AnEndedParentWaitsForItsNamelessChild) {
    std::vector<TreeProcess> tree = {Ended(10, 100, 200, 3)};
    // Snapshot 3 lists the child before it has a name: put off.
    ASSERT_TRUE(PutOff(tree[0], 3));
    EXPECT_EQ(DropFinished(tree.data(), tree.size(), 3), 1u) << "kept for snapshot 4";
    EXPECT_EQ(Adopt(tree, {Entry(20, 10, 150)}, 4), std::vector<uint32_t>{20});
    EXPECT_EQ(DropFinished(tree.data(), tree.size(), 4), 1u) << "the parent is done now";

    TreeProcess running = Member(10, 100);
    EXPECT_TRUE(PutOff(running, 1));
    EXPECT_EQ(running.lastGeneration, 0u) << "a running parent needs no extension";

    // A process that never gets a name is judged as it is in the end.
    TreeProcess parent = Ended(10, 100, 200, 1);
    uint32_t generation = 1;
    while (PutOff(parent, generation)) ++generation;
    EXPECT_EQ(generation, 1 + kMaxPutOff);
    ClearPutOff(&parent, 1);
    EXPECT_TRUE(PutOff(parent, generation)) << "the count is of snapshots in a row";
}

TEST(DropFinished, KeepsTheLivingInOrder) {
    std::vector<TreeProcess> tree = {Ended(1, 0, 0, 2), Member(2), Ended(3, 0, 0, 5), Member(4),
                                     Ended(5, 0, 0, 3)};
    size_t kept = DropFinished(tree.data(), tree.size(), 3);
    ASSERT_EQ(kept, 3u);
    EXPECT_EQ(tree[0].pid, 2u);
    EXPECT_EQ(tree[1].pid, 3u);  // its last snapshot is still to come
    EXPECT_EQ(tree[2].pid, 4u);
    std::set<uint32_t> dropped = {tree[3].pid, tree[4].pid};
    EXPECT_EQ(dropped, (std::set<uint32_t>{1, 5})) << "dropped members stay behind for closing";
    EXPECT_TRUE(AnyAlive(tree.data(), kept));
    EXPECT_FALSE(AnyAlive(tree.data() + 3, 2));
    EXPECT_EQ(DropFinished(tree.data(), 0, 3), 0u);
}

TEST(PlausibleTime, FutureTimesAreUnknown) {
    const uint64_t now = 134412505425645359ull;
    EXPECT_EQ(PlausibleTime(now - 1000, now), now - 1000);
    EXPECT_EQ(PlausibleTime(now + 50000000ull, now), now + 50000000ull);  // small skew
    EXPECT_EQ(PlausibleTime(0x5555555555555555ull, now), 0u);
    EXPECT_EQ(PlausibleTime(0, now), 0u);
}

TEST(FileNamePart, LastSeparatorOutsideDoubleByteCharacters) {
    EXPECT_STREQ(FileNamePart("C:\\SETUP\\Setup.exe", NoLead), "Setup.exe");
    EXPECT_STREQ(FileNamePart("D:setup.exe", NoLead), "setup.exe");
    EXPECT_STREQ(FileNamePart("a/b\\c", NoLead), "c");
    EXPECT_STREQ(FileNamePart("dir\\", NoLead), "");
    EXPECT_STREQ(FileNamePart("", NoLead), "");
    // 0x83 0x5C is one character whose second byte looks like a backslash.
    EXPECT_STREQ(FileNamePart("C:\\\x83\x5C.exe", ShiftJisLead), "\x83\x5C.exe");
    EXPECT_STREQ(FileNamePart("C:\\\x83", ShiftJisLead), "\x83");  // lead byte at the end
}

TEST(IsIgnored, FileNamesInAnyCase) {
    struct Case {
        const char* exe;
        std::vector<const char*> names;
        bool expected;
    } cases[] = {
        {"SETUP.EXE", {"setup.exe"}, true},
        {"C:\\WINDOWS\\TEMP\\_ISTMP0\\Setup.exe", {"SETUP.EXE"}, true},
        {"MSIEXEC.EXE", {"setup.exe", "msiexec"}, true},
        {"msiexec.bak.exe", {"msiexec"}, false},
        {"msiexec.bak.exe", {"msiexec.bak"}, false},  // a dot: a whole file name
        {"setup32.exe", {"setup"}, false},
        {"setup.exe", {"setup.ex"}, false},
        {"setup.exe", {"D:\\INSTALL\\SETUP.EXE"}, true},
        {"setup.exe", {"  setup.exe \t"}, true},
        {"SETUP", {"setup"}, true},
        {"SETUP", {"setup.exe"}, false},
        {"setup.exe", {"", "   ", nullptr}, false},
        {"setup.exe", {}, false},
        {"", {"setup.exe"}, false},
    };
    for (const Case& c : cases) {
        const char* const* list = c.names.empty() ? nullptr : c.names.data();
        EXPECT_EQ(IsIgnored(c.exe, list, c.names.size(), SameAscii, NoLead), c.expected)
            << c.exe << " / " << (c.names.empty() || !c.names[0] ? "" : c.names[0]);
    }
    const char* one[] = {"setup.exe"};
    EXPECT_FALSE(IsIgnored(nullptr, one, 1, SameAscii, NoLead));
    EXPECT_FALSE(IsIgnored("setup.exe", nullptr, 3, SameAscii, NoLead));
    // A double-byte character whose second byte is a backslash stays part
    // of the name: a different name is not mistaken for the listed one.
    const char* dbcs[] = {"\x83\x5C.exe"};
    EXPECT_TRUE(IsIgnored("C:\\\x83\x5C.exe", dbcs, 1, SameAscii, ShiftJisLead));
    EXPECT_FALSE(IsIgnored("C:\\X\x83\x5C.exe", dbcs, 1, SameAscii, ShiftJisLead));
}
