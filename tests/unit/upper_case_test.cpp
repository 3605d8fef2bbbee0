#include "script/upper_case.h"

#include <gtest/gtest.h>

#include "fake_machine.h"

TEST(UpperCaseToken, TrimsAndUpperCases) {
    FakeMachine machine;
    machine.leadBytes = {0x81};
    EXPECT_EQ(UpperCaseToken(machine, " \t\v\f\r\n"), "");
    EXPECT_EQ(UpperCaseToken(machine, "  [begin] // x \r"), "[BEGIN] // X");
    // A double-byte character goes through the locale as one: its trail
    // byte is not upper-cased on its own.
    std::string text = std::string("a\x81") + "a" + "b";
    EXPECT_EQ(UpperCaseToken(machine, text), std::string("A\x81") + "A" + "B");
    // A lead byte at the very end has no trail byte and stays as it is.
    EXPECT_EQ(UpperCaseToken(machine, "x\x81"), "X\x81");
}
