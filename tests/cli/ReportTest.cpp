#include "cli/Progress.h"
#include "cli/Summary.h"

#include <gtest/gtest.h>
#include <sstream>

using cli::JsonString;

TEST(Json, EscapesWhatJsonCannotHoldPlainly) {
    EXPECT_EQ(JsonString("plain"), "\"plain\"");
    EXPECT_EQ(JsonString("a\"b\\c/d"), "\"a\\\"b\\\\c/d\"");
    EXPECT_EQ(JsonString("\n\r\t\b\f"), "\"\\n\\r\\t\\b\\f\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001F\\u007F\"");
    EXPECT_EQ(JsonString(std::string("nul\0in", 6)), "\"nul\\u0000in\"");
}

TEST(Json, KeepsUtf8AndReplacesBytesThatAreNot) {
    EXPECT_EQ(JsonString("Zürich €𝄞"), "\"Zürich €𝄞\"");
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(JsonString("a\xFF"
                         "b"),
              "\"a" + replacement + "b\"");
    EXPECT_EQ(JsonString("\xC3"), "\"" + replacement + "\"");                   // cut short
    EXPECT_EQ(JsonString("\xC0\xAF"), "\"" + replacement + replacement + "\""); // overlong
    EXPECT_EQ(JsonString("\xED\xA0\x80"),
              "\"" + replacement + replacement + replacement + "\""); // surrogate
}

TEST(Summary, TextAndJsonCarryTheSameFigures) {
    cli::Report report;
    report.workbook = "in \"q\".xlsx";
    report.block = "Data!$B$2:$E$40";
    report.output = "/tmp/out.xlsx";
    report.exceptFirst = true;
    report.colour = "Red";
    report.entireRow = true;
    report.summary = {39, 7, 3, 28};
    report.seconds = 4.256;
    EXPECT_EQ(cli::SummaryText(report), "Rows examined:     39\n"
                                        "Rows coloured:     7\n"
                                        "Duplicate groups:  3\n"
                                        "Cells coloured:    28\n"
                                        "Seconds:           4.26\n"
                                        "Coloured copy:     /tmp/out.xlsx\n");
    EXPECT_EQ(cli::SummaryJson(report),
              "{\"workbook\":\"in \\\"q\\\".xlsx\",\"block\":\"Data!$B$2:$E$40\",\"output\":\"/tmp/"
              "out.xlsx\",\"run\":\"except-first\",\"colour\":\"Red\",\"entireRow\":true,"
              "\"rowsExamined\":39,\"rowsColoured\":7,\"duplicateGroups\":3,\"cellsColoured\":28,"
              "\"seconds\":4.26}\n");
    report.usedBlock = "Data!$B$1:$E$40";
    report.block = "Data!$B:$E";
    EXPECT_EQ(cli::SummaryText(report).substr(0, 78),
              "Block compared:    Data!$B$1:$E$40 (the used part of Data!$B:$E)\nRows examined");
    EXPECT_NE(cli::SummaryJson(report).find(
                  "\"block\":\"Data!$B:$E\",\"usedBlock\":\"Data!$B$1:$E$40\",\"output\""),
              std::string::npos);
    EXPECT_EQ(cli::JsonArray({"Name", "<Blank Column 2>"}), "[\"Name\",\"<Blank Column 2>\"]");
    EXPECT_EQ(cli::JsonArray({}), "[]");
}

TEST(Progress, LineShowsShareAndCounts) {
    EXPECT_EQ(cli::ProgressLine(0, 200, 10), "[..........]   0%  0 of 200 rows");
    EXPECT_EQ(cli::ProgressLine(65536, 131072, 10), "[#####.....]  50%  65,536 of 131,072 rows");
    EXPECT_EQ(cli::ProgressLine(1000000, 1000000, 4), "[####] 100%  1,000,000 of 1,000,000 rows");
    EXPECT_EQ(cli::ProgressLine(0, 0, 4), "[####] 100%  0 of 0 rows");
}

TEST(Progress, BarRedrawsOneLineAndClearsIt) {
    std::ostringstream out;
    {
        cli::ProgressBar bar(out, true, std::chrono::milliseconds(0));
        bar.update(1, 4);
        bar.update(4, 4);
    }
    const std::string quarter = "[#######.......................]  25%  1 of 4 rows";
    const std::string full = "[##############################] 100%  4 of 4 rows";
    // Blanked out at the end, so what follows starts on an empty line.
    EXPECT_EQ(out.str(),
              "\r" + quarter + "\r" + full + "\r" + std::string(full.size(), ' ') + "\r");
}

TEST(Progress, BarStaysSilentOffATerminalAndForShortRuns) {
    std::ostringstream notTerminal, shortRun;
    {
        cli::ProgressBar bar(notTerminal, false, std::chrono::milliseconds(0));
        bar.update(1, 2);
    }
    {
        cli::ProgressBar bar(shortRun, true, std::chrono::hours(1));
        bar.update(1, 2);
    }
    EXPECT_EQ(notTerminal.str(), "");
    EXPECT_EQ(shortRun.str(), "");
}
