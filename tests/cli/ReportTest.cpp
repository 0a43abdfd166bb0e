#include "cli/Progress.h"
#include "cli/Summary.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

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
    report.coloursUsed = 1;
    report.seconds = 4.256;
    EXPECT_EQ(cli::SummaryText(report), "Rows examined:     39\n"
                                        "Rows coloured:     7\n"
                                        "Duplicate groups:  3\n"
                                        "Cells coloured:    28\n"
                                        "Colours used:      1\n"
                                        "Matching:          exact\n"
                                        "Seconds:           4.26\n"
                                        "Coloured copy:     /tmp/out.xlsx\n");
    EXPECT_EQ(cli::SummaryJson(report),
              "{\"workbook\":\"in \\\"q\\\".xlsx\",\"block\":\"Data!$B$2:$E$40\",\"output\":\"/tmp/"
              "out.xlsx\",\"run\":\"except-first\",\"colour\":\"Red\",\"entireRow\":true,"
              "\"matching\":\"exact\",\"rowsExamined\":39,\"rowsColoured\":7,"
              "\"duplicateGroups\":3,\"cellsColoured\":28,\"coloursUsed\":1,\"seconds\":4.26}\n");
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

TEST(Progress, LineNamesTheStageWithItsShareOfTheRunAndTheClock) {
    using sheet::Stage;
    using std::chrono::seconds;
    EXPECT_EQ(cli::ProgressLine({Stage::StartingOffice, 0, 0}, seconds(0), 10),
              "[..........]   0%  Starting the office  0:00");
    EXPECT_EQ(cli::ProgressLine({Stage::LoadingWorkbook, 45, 100}, seconds(75), 10),
              "[###.......]  33%  Loading the workbook: 45%  1:15");
    EXPECT_EQ(cli::ProgressLine({Stage::ReadingRows, 65536, 131072}, seconds(7), 10),
              "[######....]  67%  Reading rows: 65,536 of 131,072  0:07");
    EXPECT_EQ(cli::ProgressLine({Stage::FindingRepeats, 0, 0}, seconds(8), 4),
              "[###.]  80%  Finding repeated rows  0:08");
    EXPECT_EQ(cli::ProgressLine({Stage::SavingCopy, 7, 7}, seconds(600), 4),
              "[####] 100%  Saving the copy: 100%  10:00");
}

TEST(Progress, BarRedrawsOneLineAndClearsIt) {
    std::ostringstream out;
    {
        cli::ProgressBar bar(out, true, std::chrono::milliseconds(0), std::chrono::hours(1));
        bar.report({sheet::Stage::ReadingRows, 1, 4});
        bar.report({sheet::Stage::Colouring, 0, 0});
    }
    const std::string quarter = "[##################............]  61%  Reading rows: 1 of 4  0:00";
    const std::string colouring = "[#########################.....]  85%  Colouring cells  0:00";
    // Blanked out at the end, so what follows starts on an empty line.
    EXPECT_EQ(out.str(), "\r" + quarter + "\r" + colouring +
                             std::string(quarter.size() - colouring.size(), ' ') + "\r" +
                             std::string(quarter.size(), ' ') + "\r");
}

TEST(Progress, BarKeepsRedrawingWithoutNews) {
    std::ostringstream out;
    {
        cli::ProgressBar bar(out, true, std::chrono::milliseconds(0), std::chrono::milliseconds(1));
        bar.report({sheet::Stage::LoadingWorkbook, 0, 0});
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    const std::string drawn = out.str();
    EXPECT_GE(std::count(drawn.begin(), drawn.end(), '\r'), 3) << drawn;
}

TEST(Progress, BarStaysSilentOffATerminalAndForShortRuns) {
    std::ostringstream notTerminal, shortRun;
    {
        cli::ProgressBar bar(notTerminal, false, std::chrono::milliseconds(0));
        bar.report({sheet::Stage::ReadingRows, 1, 2});
    }
    {
        cli::ProgressBar bar(shortRun, true, std::chrono::hours(1));
        bar.report({sheet::Stage::ReadingRows, 1, 2});
    }
    EXPECT_EQ(notTerminal.str(), "");
    EXPECT_EQ(shortRun.str(), "");
}
