// A step stopped in the middle (the host throws from progress, as a cancelled run would) leaves
// the files of the run before it whole and no temporary file behind.
#include <gtest/gtest.h>

#include "engine/distribution/Distribution.h"
#include "engine/phase1/Phase1.h"
#include "engine/phase2/Phase2Totals.h"
#include "tests/robustness/RobustData.h"
#include "tests/support/FakeHost.h"

namespace orr::test {
namespace {

struct Interrupted {};

using StepFunction = bool (*)(Session&, StepHost&);

class InterruptedStep : public ::testing::TestWithParam<std::pair<int, StepFunction>> {};

TEST_P(InterruptedStep, EarlierFilesStayWholeAndNoTemporaryFileIsLeft) {
    // Enough plots that every step reports progress more than once before it ends.
    RobustData data(600);
    const CliRun good = data.run();
    ASSERT_EQ(0, good.status) << good.err;
    const Snapshot before = snapshot(data.dataDir());

    // Stopped at the first, then at the second report of progress.
    for (std::size_t stopAt : {1u, 2u}) {
        SCOPED_TRACE("stopped at progress report " + std::to_string(stopAt));
        FakeHost host;
        std::size_t reports = 0;
        host.onProgress = [&](std::size_t done, std::size_t total) {
            if (++reports == stopAt) throw Interrupted{};
            EXPECT_LE(done, total);
        };
        Session session = data.session();
        EXPECT_THROW(GetParam().second(session, host), Interrupted);
        EXPECT_EQ(stopAt, reports);
        EXPECT_TRUE(snapshot(data.dataDir()) == before) << "a data file changed";
        EXPECT_TRUE(temporaryFiles(data.dataDir()).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Steps5To7, InterruptedStep,
                         ::testing::Values(std::make_pair(5, &runPhase2Totals),
                                           std::make_pair(6, &runDistribution),
                                           std::make_pair(7, &runPhase1)),
                         [](const auto& info) {
                             return "Step" + std::to_string(info.param.first);
                         });

}  // namespace
}  // namespace orr::test
