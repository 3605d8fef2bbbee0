#include "app/intro_sound.h"

#include <gtest/gtest.h>

#include "fake_machine.h"

TEST(SplitIntroSound, FileAndSeconds) {
    FakeMachine machine;
    machine.programFile = "E:\\AUTORUN.EXE";
    struct Case {
        const char* value;
        const char* file;
        int seconds;
    } cases[] = {
        {"INTRO.WAV,10", "E:\\INTRO.WAV", 10},
        {"INTRO.WAV", "E:\\INTRO.WAV", 0},
        {",,INTRO.WAV,,3", "E:\\INTRO.WAV", 3},
        {"", "", 0},
        {"C:\\S.WAV, X", "C:\\S.WAV", 0},
    };
    for (const Case& c : cases) {
        IntroSound sound = SplitIntroSound(machine, c.value);
        EXPECT_EQ(sound.file, c.file) << c.value;
        EXPECT_EQ(sound.seconds, c.seconds) << c.value;
    }
}
