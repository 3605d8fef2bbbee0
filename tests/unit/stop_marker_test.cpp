#include "app/stop_marker.h"

#include <gtest/gtest.h>

TEST(StopMarkerPath, InSupportDirectory) {
    EXPECT_EQ(StopMarkerPath("C:\\SUPPORT"), "C:\\SUPPORT\\Qmstop.txt");
}
