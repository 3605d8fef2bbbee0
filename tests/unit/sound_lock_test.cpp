#include "ui/sound_lock.h"

#include <gtest/gtest.h>

// Each step: the time in seconds since the system started, the request, and
// whether it may play.
struct Step {
    unsigned long now;
    bool isSound;
    int seconds;
    bool admitted;
    unsigned long lockAfter;
};

static void RunSteps(const char* what, std::initializer_list<Step> steps) {
    SoundLock lock;
    int index = 0;
    for (const Step& step : steps) {
        EXPECT_EQ(lock.Admit(step.now, step.isSound, step.seconds), step.admitted)
            << what << ", step " << index;
        EXPECT_EQ(lock.LockUntil(), step.lockAfter) << what << ", step " << index;
        ++index;
    }
}

TEST(SoundLock, IntroLockAgainstHoverSounds) {
    RunSteps("hover 3 s into a 10 s intro is refused, 11 s in it plays",
             {{100, true, 10, true, 110},
              {103, true, 0, false, 110},
              {110, true, 0, false, 110},
              {111, true, 0, true, 0},
              {112, true, 0, true, 0}});
    RunSteps("a stop always goes through and clears the lock",
             {{100, true, 10, true, 110}, {101, false, 0, true, 0}, {101, true, 0, true, 0}});
    RunSteps("a locked sound is not replaced by another locked one",
             {{50, true, 5, true, 55}, {52, true, 20, false, 55}, {56, true, 20, true, 76}});
    RunSteps("a stop with seconds still clears", {{10, true, 30, true, 40}, {11, false, 7, true, 18}});
    RunSteps("negative seconds lock nothing", {{10, true, -4, true, 0}, {11, true, 0, true, 0}});
}

TEST(SoundLock, FirstSecondAfterStart) {
    // The lock starts at 0, which still covers the second 0.
    RunSteps("sounds in second 0 are refused", {{0, true, 0, false, 0}, {0, false, 0, true, 0},
                                                {1, true, 0, true, 0}});
}
