// A step cancelled in the middle leaves the files of the run before it whole and no temporary
// file behind.
#include <gtest/gtest.h>

#include "model/workflow/StepTable.h"
#include "tests/robustness/RobustData.h"
#include "tests/support/FakeHost.h"

namespace orr::test {
namespace {

class CancelledStep : public ::testing::TestWithParam<int> {};

TEST_P(CancelledStep, EarlierFilesStayWholeAndNoTemporaryFileIsLeft) {
    // Enough plots that every step reports progress more than once before it ends.
    RobustData data(600);
    const CliRun good = data.run();
    ASSERT_EQ(0, good.status) << good.err;
    const Snapshot before = snapshot(data.dataDir());
    const workflow::StepEntry* step = workflow::findStep(workflow::stepTable(), GetParam());

    // Cancelled before the first, then before the second report of progress.
    for (std::size_t stopAt : {1u, 2u}) {
        SCOPED_TRACE("cancelled at progress report " + std::to_string(stopAt));
        FakeHost host;
        std::size_t reports = 0;
        host.onProgress = [&](std::size_t done, std::size_t total) {
            ++reports;
            EXPECT_LE(done, total);
        };
        host.onCancelled = [&] { return reports >= stopAt; };
        const StepResult result = runStep(GetParam(), step->run, data.session(), host);
        EXPECT_EQ(result.end, StepResult::End::Cancelled);
        EXPECT_TRUE(host.messages.empty());
        EXPECT_TRUE(snapshot(data.dataDir()) == before) << "a data file changed";
        EXPECT_TRUE(temporaryFiles(data.dataDir()).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Steps5To7, CancelledStep, ::testing::Values(5, 6, 7),
                         [](const auto& info) { return "Step" + std::to_string(info.param); });

}  // namespace
}  // namespace orr::test
