// The status log's text and its display form.
#include <gtest/gtest.h>

#include "shell/workflow/StatusLog.h"

namespace orr::workflow {
namespace {

TEST(StatusLog, AppendEndsEveryLineInCrLfAndSetReplacesEverything) {
    StatusLog log;
    log.append("DataSet Name is: ABC");
    log.append("");
    EXPECT_EQ(log.text(), "DataSet Name is: ABC\r\n\r\n");
    EXPECT_EQ(log.length(), 24u);
    log.set("Iteration Done!!\r\n");
    EXPECT_EQ(log.text(), "Iteration Done!!\r\n");
    log.set(" ");
    EXPECT_EQ(log.length(), 1u);
}

TEST(StatusLog, DisplayFormUsesOneLineFeedPerLineEnd) {
    EXPECT_EQ(StatusLog::forDisplay("a\r\nb\r\n"), "a\nb\n");
    EXPECT_EQ(StatusLog::forDisplay("a\rb\nc"), "a\nb\nc");
    EXPECT_EQ(StatusLog::forDisplay("\r\n\r\n"), "\n\n");
    EXPECT_EQ(StatusLog::forDisplay(""), "");
}

}  // namespace
}  // namespace orr::workflow
