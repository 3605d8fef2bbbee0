#include "app/wait_library_name.h"

#include <gtest/gtest.h>

TEST(WaitLibraryName, WaitLibraryPerVersion) {
    const char* expected[] = {"SETUP_95.dll", "SETUP_95.dll", "SETUP_95.dll", "SETUP_95.dll",
                              "SETUP_95.dll", "SETUP_NT.dll", "SETUP_NT.dll"};
    for (unsigned short code = 0; code <= 6; ++code)
        EXPECT_EQ(WaitLibraryName("SETUP", code), expected[code]) << code;
}
