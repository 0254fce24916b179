// The command line's StepHost: what reaches stdout and stderr, and the product-code prompt.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliHost.h"

namespace orr {
namespace {

class CliHostTest : public ::testing::Test {
  protected:
    CliHost make(bool verbose, ProductCodeMode mode, const std::string& input = "") {
        in.str(input);
        return CliHost(session, in, out, err, verbose, mode);
    }

    Session session;
    std::istringstream in;
    std::ostringstream out, err;

    void SetUp() override { session.params.MaxProd = 3; }
};

TEST_F(CliHostTest, LogLinesGoToStdoutAsWritten) {
    CliHost host = make(false, ProductCodeMode::Drop);
    host.appendLog("first");
    host.appendLog("second ");
    EXPECT_EQ(out.str(), "first\nsecond \n");
    EXPECT_EQ(host.log(), "first\r\nsecond \r\n");
    EXPECT_EQ(host.logLength(), 16u);
}

TEST_F(CliHostTest, AReplacedLogPrintsItsNewText) {
    CliHost host = make(false, ProductCodeMode::Drop);
    host.appendLog("old");
    host.setLog("Iteration Done!!\r\n");
    EXPECT_EQ(out.str(), "old\nIteration Done!!\n");
    EXPECT_EQ(host.log(), "Iteration Done!!\r\n");
}

TEST_F(CliHostTest, ALogRebuiltFromItsOldTextPrintsOnlyTheNewLine) {
    CliHost host = make(false, ProductCodeMode::Drop);
    host.appendLog("heading");
    host.setLog("heading\r\n1     1  1  20");
    host.setLog("heading\r\n1     1  1  20\r\n1     1  2  40");
    EXPECT_EQ(out.str(), "heading\n1     1  1  20\n1     1  2  40\n");
}

TEST_F(CliHostTest, ClearingTheLogPrintsNothing) {
    CliHost host = make(false, ProductCodeMode::Drop);
    host.primeLog("Please perform Steps 1 through 4...\r\n");
    host.setLog("");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(host.logLength(), 0u);
}

TEST_F(CliHostTest, MessageBoxesAreOneLineOnStderr) {
    CliHost host = make(false, ProductCodeMode::Drop);
    host.message("Error: No min/max dbhes on file for dataset AB", Icon::Critical);
    host.message("two\r\nlines", Icon::Information);
    EXPECT_EQ(err.str(),
              "error: Error: No min/max dbhes on file for dataset AB\nnote: two  lines\n");
    EXPECT_EQ(out.str(), "");
}

TEST_F(CliHostTest, StatusAndProgressOnlyWhenVerbose) {
    CliHost quiet = make(false, ProductCodeMode::Drop);
    quiet.setStatus("Status: Computing Plot Totals..");
    quiet.progress(1, 2);
    EXPECT_EQ(err.str(), "");
    CliHost loud = make(true, ProductCodeMode::Drop);
    loud.setStatus("Status: Computing Plot Totals..");
    loud.progress(0, 200);
    loud.progress(10, 200);  // same tenth: not repeated
    loud.progress(25, 200);
    loud.progress(200, 200);
    EXPECT_EQ(err.str(),
              "Status: Computing Plot Totals..\n"
              "progress: 0% (0 of 200)\n"
              "progress: 12% (25 of 200)\n"
              "progress: 100% (200 of 200)\n");
    EXPECT_EQ(out.str(), "");
}

TEST_F(CliHostTest, DropModeDropsWithoutAsking) {
    CliHost host = make(false, ProductCodeMode::Drop, "2\n");
    EXPECT_EQ(host.askProductCode(2, 12.25), std::nullopt);
    EXPECT_EQ(host.askProductCode(1, 30.5), std::nullopt);
    EXPECT_EQ(host.droppedTrees(), 2u);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str(), "");
}

TEST_F(CliHostTest, AskModeShowsThePromptsCaptionsAndTakesAProduct) {
    CliHost host = make(false, ProductCodeMode::Ask, "x\n4\n1.5\n 2 \n");
    EXPECT_EQ(host.askProductCode(2, 12.25), 2);
    EXPECT_EQ(host.droppedTrees(), 0u);
    const std::string shown = err.str();
    EXPECT_EQ(shown.rfind("Product Code Error...\n SPECIES = 2\n DBH = 12.25\n", 0), 0u) << shown;
    // Three wrong answers (text, above MaxProd, not whole) ask again; the fourth is taken.
    std::size_t asked = 0;
    for (std::size_t at = shown.find(" ENTER PRODUCT CODE..."); at != std::string::npos;
         at = shown.find(" ENTER PRODUCT CODE...", at + 1)) {
        ++asked;
    }
    EXPECT_EQ(asked, 4u);
    EXPECT_EQ(out.str(), "");
}

TEST_F(CliHostTest, AskModeEmptyAnswerOrEndOfInputDropsTheTree) {
    CliHost host = make(false, ProductCodeMode::Ask, "\r\n");
    EXPECT_EQ(host.askProductCode(1, 40.25), std::nullopt);
    EXPECT_EQ(host.askProductCode(1, 40.25), std::nullopt);  // end of input
    EXPECT_EQ(host.droppedTrees(), 2u);
}

TEST_F(CliHostTest, PickersAndParametersDialogDoNothing) {
    CliHost host = make(false, ProductCodeMode::Drop);
    Session s;
    host.pickTreeFile(s);
    host.pickLidarFiles(s);
    EXPECT_TRUE(s.TreeInputFileName.empty());
    EXPECT_TRUE(s.HighLidarFileName.empty());
    EXPECT_FALSE(host.editParameters(s));
    EXPECT_EQ(out.str() + err.str(), "");
}

}  // namespace
}  // namespace orr
