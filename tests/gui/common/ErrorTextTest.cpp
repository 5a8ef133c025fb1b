#include "gui/common/ErrorText.h"

#include <gtest/gtest.h>

using qloom::ErrorReportText;

TEST(ErrorReportText, AddsFullStopOnlyAfterCharactersAboveTheDot) {
    EXPECT_EQ(ErrorReportText("Cannot open file /x/a"), "Cannot open file /x/a.");
    EXPECT_EQ(ErrorReportText("'12a' is not a valid integer value"),
              "'12a' is not a valid integer value.");
    EXPECT_EQ(ErrorReportText("value 7"), "value 7.");
    EXPECT_EQ(ErrorReportText("Done."), "Done.");
    EXPECT_EQ(ErrorReportText("Stop!"), "Stop!");
    EXPECT_EQ(ErrorReportText("(see above)"), "(see above)");
    EXPECT_EQ(ErrorReportText("a-"), "a-");
    EXPECT_EQ(ErrorReportText(""), "");
}

TEST(ErrorReportText, TreatsBytesAboveAsciiAsAboveTheDot) {
    EXPECT_EQ(ErrorReportText("caf\xc3\xa9"), "caf\xc3\xa9.");
}
