#include "app/start_plan.h"

#include <gtest/gtest.h>

TEST(PlanStart, ResumeScriptIsUsedOnlyWhenItsChainStarts) {
    struct Case {
        bool resumed, autoRun, closing;
        StartPlan plan;
    } cases[] = {
        {true, false, false, StartPlan::kDeleteAndResume},
        {true, false, true, StartPlan::kKeepResume},  // no wait library, or another screen open
        {true, true, true, StartPlan::kKeepResume},
        {false, true, false, StartPlan::kRunChain},
        {false, false, false, StartPlan::kPlayIntro},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanStart(c.resumed, c.autoRun, c.closing), c.plan)
            << c.resumed << c.autoRun << c.closing;
}

TEST(DeleteFailureText, ByErrorCode) {
    EXPECT_EQ(DeleteFailureText(5, "C:\\T\\A1.INF"), "Access to C:\\T\\A1.INF was denied.");
    EXPECT_EQ(DeleteFailureText(12345, "X"), "An unexpected error occurred while deleting X.");
}
