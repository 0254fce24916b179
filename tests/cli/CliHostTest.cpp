// The command line's view of a step: what reaches stdout and stderr, and the product-code prompt.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <sstream>

#include "cli/CliHost.h"
#include "core/CommaReader.h"
#include "core/Step.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using workflow::Icon;

struct HostRig {
    explicit HostRig(const std::string& input = "") : in(input) {}
    CliHost make(bool verbose) { return CliHost(3, in, out, err, verbose); }
    std::istringstream in;
    std::ostringstream out, err;
};

TEST(CliHost, MessagesAreOneLineOnStderrStatusAndProgressOnlyWhenVerbose) {
    HostRig rig;
    CliHost quiet = rig.make(false);
    quiet.status("Status: Computing Plot Totals..");
    quiet.progress(1, 2);
    quiet.message("two\r\nlines", Icon::Information);
    CliHost loud = rig.make(true);
    loud.message("Error: No min/max dbhes", Icon::Critical);
    for (std::size_t done : {0, 10, 25, 200}) loud.progress(done, 200);  // 10: same tenth as 0
    EXPECT_EQ(rig.err.str(),
              "note: two  lines\nerror: Error: No min/max dbhes\nprogress: 0% (0 of 200)\n"
              "progress: 12% (25 of 200)\nprogress: 100% (200 of 200)\n");
    EXPECT_EQ(rig.out.str(), "");
}

// Lines logged at once reach stdout as the same lines logged one by one; a host that does not
// take them at once gets them one by one.
TEST(CliHost, LinesLoggedAtOnceAreThoseLoggedOneByOne) {
    HostRig one, all;
    CliHost byLine = one.make(false);
    CliHost atOnce = all.make(false);
    for (std::string_view line : {"    12     1      5    3.5  210.4", "", "last"})
        byLine.log(line);
    atOnce.logLines("    12     1      5    3.5  210.4\r\n\r\nlast\r\n");
    EXPECT_EQ(all.out.str(), one.out.str());
    EXPECT_EQ(all.out.str(), "    12     1      5    3.5  210.4\n\nlast\n");

    struct Lines : StepHost {
        std::vector<std::string> logged;
        void log(std::string_view line) override { logged.emplace_back(line); }
        void progress(std::size_t, std::size_t) override {}
        bool cancelled() const override { return false; }
        std::optional<int> askProductCode(int, double) override { return std::nullopt; }
    } lines;
    lines.logLines("a\r\n\r\nb\r\n");
    EXPECT_EQ(lines.logged, (std::vector<std::string>{"a", "", "b"}));
}

TEST(CliHost, AsksUntilAProductAndDropsOnAnEmptyAnswerOrEndOfInput) {
    HostRig rig("x\n4\n1.5\n 2 \n\r\n");
    CliHost host = rig.make(false);
    EXPECT_EQ(host.askProductCode(2, 12.25), 2);
    const std::string shown = rig.err.str();
    EXPECT_EQ(shown.rfind("Product Code Error...\n SPECIES = 2\n DBH = 12.25\n", 0), 0u) << shown;
    // Three wrong answers (text, above MaxProd, not whole) ask again; the fourth is taken.
    std::size_t asked = 0;
    for (auto at = shown.find(" ENTER PRODUCT CODE..."); at != std::string::npos;
         at = shown.find(" ENTER PRODUCT CODE...", at + 1))
        ++asked;
    EXPECT_EQ(asked, 4u);
    EXPECT_EQ(host.askProductCode(1, 40.25), std::nullopt);  // empty answer
    EXPECT_EQ(host.askProductCode(1, 40.25), std::nullopt);  // end of input
    EXPECT_EQ(rig.out.str(), "");
}

// The question of step 6 names the plot whose tree asks and the codes the prompt takes.
TEST(CliHost, TheProductQuestionNamesThePlotAndTheValidCodes) {
    HostRig rig("3\n");
    CliHost host = rig.make(false);
    ProductCodeQuestion question;
    question.species = 2;
    question.dbh = 12.25;
    question.maxProduct = 3;
    question.plot = 417;
    const ProductCodeAnswer answer = host.answerProductQuestion(question);
    EXPECT_EQ(answer.code, 3);
    EXPECT_FALSE(answer.wholeGap);
    EXPECT_EQ(rig.err.str(),
              "Product Code Error...\n PLOT = 417\n SPECIES = 2\n DBH = 12.25\n"
              " Valid product codes: 1 to 3\n ENTER PRODUCT CODE... ");
}

// The clock the progress line reads in the test below.
CliHost::Clock::time_point fakeNow;
CliHost::Clock::time_point readFakeNow() {
    return fakeNow;
}

TEST(CliHost, OnATerminalAStepOverHalfASecondShowsOneLineRewrittenWithTheTimeLeft) {
    using namespace std::chrono_literals;
    HostRig rig;
    CliHost host(3, rig.in, rig.out, rig.err, false, CliHost::Display::Terminal);
    host.now = &readFakeNow;
    // A short step shows nothing.
    host.beginStep(5);
    host.progress(1, 2);
    fakeNow += 100ms;
    host.progress(2, 2);
    host.endStep();
    EXPECT_EQ(rig.err.str(), "");
    // A long one: no line in its first half second, then at most five draws a second, the share
    // done, the time taken and the time left at the pace so far; left standing with its time.
    host.beginStep(7);
    host.progress(1, 10);
    fakeNow += 1s;
    host.progress(2, 10);
    fakeNow += 100ms;
    host.progress(3, 10);  // too soon after the last draw
    fakeNow += 1s;
    host.log("a line");
    host.progress(5, 10);
    fakeNow += 3s;
    host.endStep();
    EXPECT_EQ(rig.err.str(),
              "\rstep 7: 20%, 0:01 elapsed, about 0:04 left\033[K"
              "\rstep 7: 50%, 0:02 elapsed, about 0:02 left\033[K"
              "\rstep 7: done in 0:05\033[K\n");
    EXPECT_EQ(rig.out.str(), "a line\n");
}

// SIGTERM and SIGHUP stop a run as Ctrl-C does: the step is cancelled at its next check, and a
// file being read stops at its next refill; the program itself goes on to end the run.
TEST(CliHost, SigtermAndSighupCancelTheStepAndTheReadingLikeCtrlC) {
    test::TempDir dir;
    std::string lines;
    for (int i = 0; i < 200; ++i) lines += std::to_string(i) + ",1\r\n";
    test::writeFile(dir / "in.csv", lines);
    for (const auto& [signal, reason] : {std::pair{SIGTERM, "SIGTERM"}, std::pair{SIGHUP, "SIGHUP"},
                                         std::pair{SIGINT, "Ctrl-C"}}) {
        SCOPED_TRACE(reason);
        HostRig rig;
        CliHost host = rig.make(false);
        CliHost::catchInterrupt();
        EXPECT_FALSE(host.cancelled());
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_TRUE(host.cancelled());
        EXPECT_EQ(host.stopReason(), reason);
        EXPECT_THROW(
            {
                CommaReader reader(dir / "in.csv", 16);
                while (reader.next(2)) {
                }
            },
            StepCancelled);
        CliHost::catchInterrupt();  // the next run starts afresh
        EXPECT_FALSE(host.cancelled());
    }
    CommaReader::setStopCheck(nullptr);
}

// Output that cannot be written (a closed pipe) stops the run as a signal does.
TEST(CliHost, AFailedWriteToStdoutCancelsTheStep) {
    HostRig rig;
    CliHost host = rig.make(false);
    CliHost::catchInterrupt();
    host.log("first line");
    EXPECT_FALSE(host.cancelled());
    rig.out.setstate(std::ios::badbit);
    host.beginStep(5);
    host.log("a line that goes nowhere");
    EXPECT_TRUE(host.cancelled());
    EXPECT_EQ(host.stopReason(), "the standard output was closed");
}

}  // namespace
}  // namespace orr
