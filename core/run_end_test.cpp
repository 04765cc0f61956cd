// How a run ends: each way out of the work gives its status, and only a
// failure carries what failed.
#include "core/run_end.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

TEST(RunEnd, EachWayOutGivesItsStatus) {
    const RunEnd clean = run_to_end([] { return kExitClean; });
    EXPECT_EQ(clean.status, kExitClean);
    EXPECT_FALSE(clean.failure);

    const RunEnd scenario = run_to_end([] { return kExitScenarioError; });
    EXPECT_EQ(scenario.status, kExitScenarioError);
    EXPECT_FALSE(scenario.failure);

    const RunEnd errore = run_to_end([]() -> int { throw ProgramEnd{kExitErrore}; });
    EXPECT_EQ(errore.status, kExitErrore);
    EXPECT_FALSE(errore.failure);

    const RunEnd failed = run_to_end([]() -> int { throw platform::RunTimeFailure("open", "/x/y", "denied"); });
    EXPECT_EQ(failed.status, kExitRunTimeFailure);
    ASSERT_TRUE(failed.failure);
    EXPECT_EQ(failed.failure->operation, "open");
    EXPECT_EQ(failed.failure->path, "/x/y");
    EXPECT_EQ(failed.failure->reason, "denied");

    const RunEnd memory = run_to_end([]() -> int { throw std::bad_alloc(); });
    EXPECT_EQ(memory.status, kExitRunTimeFailure);
    ASSERT_TRUE(memory.failure);
    EXPECT_EQ(memory.failure->operation, "allocate");
    EXPECT_EQ(memory.failure->reason, "out of memory");
}

TEST(RunEnd, ReportedStatusReportsOnlyAFailure) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(reported_status(RunEnd{kExitScenarioError, std::nullopt}), kExitScenarioError);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(reported_status(RunEnd{kExitRunTimeFailure, platform::RunTimeFailure("write", "/x/f", "full")}),
              kExitRunTimeFailure);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("/x/f"), std::string::npos) << report;
    EXPECT_NE(report.find("full"), std::string::npos) << report;
}
