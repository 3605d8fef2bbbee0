#include "ui/dib_cache.h"

#include <gtest/gtest.h>

#include <map>

#include "fake_machine.h"

namespace {

struct FakePicture {
    std::string name;
    int width = 0;
    int height = 0;
    const std::string& FileName() const { return name; }
    int Width() const { return width; }
    int Height() const { return height; }
};

// Makes pictures of the sizes it knows; others fail to load (0 by 0).
struct Loader {
    std::map<std::string, std::pair<int, int>> sizes;
    std::vector<std::string> loads;
    FakePicture* operator()(const std::string& path) {
        loads.push_back(path);
        FakePicture* picture = new FakePicture{path};
        auto found = sizes.find(path);
        if (found != sizes.end()) {
            picture->width = found->second.first;
            picture->height = found->second.second;
        }
        return picture;
    }
};

using Cache = std::array<std::unique_ptr<FakePicture>, 32>;

FakePicture* LookUp(Machine& machine, Cache& cache, Loader& loader, const std::string& name,
                    int* width, int* height) {
    return LookUpButtonBitmap(cache, ButtonBitmapKey(machine, name), [&](const std::string& path) {
        return loader(path);
    }, width, height);
}

TEST(ButtonBitmapCache, KeysAreTrimmedUpperCasedAndResolved) {
    FakeMachine machine;
    machine.programFile = "D:\\SETUP\\AUTORUN.EXE";
    struct Case {
        const char* name;
        const char* key;
    } cases[] = {
        {"art\\play.bmp", "D:\\SETUP\\ART\\PLAY.BMP"},
        {"  Art\\Play.BMP \t", "D:\\SETUP\\ART\\PLAY.BMP"},
        {"..\\common\\x.bmp", "D:\\COMMON\\X.BMP"},
        {"\\root.bmp", "D:\\ROOT.BMP"},
        {"c:\\pics\\a.bmp", "C:\\PICS\\A.BMP"},
    };
    for (const Case& c : cases) EXPECT_EQ(ButtonBitmapKey(machine, c.name), c.key) << c.name;
}

TEST(ButtonBitmapCache, SharingAndFrames) {
    FakeMachine machine;
    Loader loader;
    loader.sizes["D:\\SETUP\\PLAY.BMP"] = {400, 50};
    loader.sizes["D:\\SETUP\\WIDE.BMP"] = {402, 30};
    loader.sizes["D:\\SETUP\\SUB\\..\\PLAY.BMP"] = {400, 50};
    Cache cache;
    int width = -1, height = -1;

    FakePicture* play = LookUp(machine, cache, loader, "play.bmp", &width, &height);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(width, 100);
    EXPECT_EQ(height, 50);
    EXPECT_EQ(cache[0].get(), play);

    // Other letter case and blanks meet the same entry without a second load.
    width = height = -1;
    EXPECT_EQ(LookUp(machine, cache, loader, "  PLAY.bmp ", &width, &height), play);
    EXPECT_EQ(width, 100);
    EXPECT_EQ(height, 50);

    // 402 / 4 truncates to 100 as well.
    FakePicture* wide = LookUp(machine, cache, loader, "wide.bmp", &width, &height);
    EXPECT_EQ(cache[1].get(), wide);
    EXPECT_EQ(width, 100);
    EXPECT_EQ(height, 30);

    // A differently written path to the same file is another entry.
    FakePicture* other = LookUp(machine, cache, loader, "sub\\..\\play.bmp", &width, &height);
    EXPECT_NE(other, play);
    EXPECT_EQ(cache[2].get(), other);

    EXPECT_EQ(loader.loads.size(), 3u);
}

TEST(ButtonBitmapCache, FailedLoadsKeepTheirSlot) {
    FakeMachine machine;
    Loader loader;
    Cache cache;
    int width = -1, height = -1;
    FakePicture* missing = LookUp(machine, cache, loader, "missing.bmp", &width, &height);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->FileName(), "D:\\SETUP\\MISSING.BMP");
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(LookUp(machine, cache, loader, "Missing.bmp", &width, &height), missing);
    EXPECT_EQ(loader.loads.size(), 1u);
}

TEST(ButtonBitmapCache, FullCacheGivesNoPicture) {
    FakeMachine machine;
    Loader loader;
    Cache cache;
    int width = 0, height = 0;
    for (int i = 0; i < 32; ++i) {
        std::string name = "p" + std::to_string(i) + ".bmp";
        loader.sizes[ButtonBitmapKey(machine, name)] = {40, 10};
        FakePicture* picture = LookUp(machine, cache, loader, name, &width, &height);
        ASSERT_EQ(picture, cache[i].get()) << name;
    }
    loader.sizes[ButtonBitmapKey(machine, "p32.bmp")] = {40, 10};
    width = height = -1;
    EXPECT_EQ(LookUp(machine, cache, loader, "p32.bmp", &width, &height), nullptr);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(loader.loads.size(), 32u);
    // Pictures already cached are still found.
    FakePicture* last = LookUp(machine, cache, loader, "P31.BMP", &width, &height);
    EXPECT_EQ(last, cache[31].get());
    EXPECT_EQ(width, 10);
}

}  // namespace
