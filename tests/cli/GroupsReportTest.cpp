// The groups report's two formats: what a spreadsheet opens, and JSON.
#include "cli/GroupsReport.h"

#include <gtest/gtest.h>

namespace {

struct Field {
    const char* name;
    std::string text;
    std::string written;

    friend void PrintTo(const Field& field, std::ostream* out) { *out << field.name; }
};

class CsvFields : public ::testing::TestWithParam<Field> {};

TEST_P(CsvFields, KeepTheTextAndRunNothing) {
    EXPECT_EQ(cli::CsvField(GetParam().text), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Report, CsvFields,
                         ::testing::Values(Field{"Plain", "Ann Lee", "Ann Lee"},
                                           Field{"Comma", "Lee, Ann", "\"Lee, Ann\""},
                                           Field{"Quotes", "say \"hi\"", "\"say \"\"hi\"\"\""},
                                           Field{"BlankAtAnEnd", "Rome ", "\"Rome \""},
                                           Field{"Formula", "=SUM(A1:A9)", "\"'=SUM(A1:A9)\""},
                                           Field{"PlusFormula", "+1+cmd|' /C calc'!A0",
                                                 "\"'+1+cmd|' /C calc'!A0\""},
                                           Field{"MinusFormula", "-2+3", "\"'-2+3\""},
                                           Field{"LeadingTab", "\t=1", "\"'\t=1\""},
                                           Field{"NegativeNumber", "-1,234.50", "\"-1,234.50\""},
                                           Field{"SignedPercent", "+12.5%", "+12.5%"},
                                           Field{"NotUtf8", "a\xFF", "a\xEF\xBF\xBD"}),
                         [](const auto& param) { return std::string(param.param.name); });

cli::GroupsReport Sample(bool exceptFirst) {
    cli::GroupsReport report;
    report.workbook = "people.xlsx";
    report.block = "People!$A$1:$B$9";
    report.exceptFirst = exceptFirst;
    report.matching = {true, true};
    report.columns = {"Name", "City"};
    report.groups = {{{2, 4, 9}, {"Ann Lee", "Oslo"}}, {{3, 7}, {"Lee, Ann", "=Rome"}}};
    return report;
}

TEST(GroupsReport, CsvHasAHeaderAndOneLineAGroup) {
    EXPECT_EQ(cli::GroupsCsv(Sample(false)), "\xEF\xBB\xBFGroup,Rows,Sheet rows,Name,City\r\n"
                                             "1,3,2 4 9,Ann Lee,Oslo\r\n"
                                             "2,2,3 7,\"Lee, Ann\",\"'=Rome\"\r\n");
    EXPECT_EQ(cli::GroupsCsv(Sample(true)),
              "\xEF\xBB\xBFGroup,Rows,Sheet rows,First occurrence,Name,City\r\n"
              "1,3,2 4 9,2,Ann Lee,Oslo\r\n"
              "2,2,3 7,3,\"Lee, Ann\",\"'=Rome\"\r\n");
}

TEST(GroupsReport, JsonHasTheRunThenOneGroupALine) {
    EXPECT_EQ(cli::GroupsJson(Sample(true)),
              "{\"workbook\":\"people.xlsx\",\"block\":\"People!$A$1:$B$9\",\"run\":\"except-"
              "first\",\"matching\":\"ignore-case+trim\",\"columns\":[\"Name\",\"City\"],"
              "\"groups\":[\n"
              "{\"group\":1,\"rows\":3,\"sheetRows\":[2,4,9],\"firstOccurrence\":2,\"texts\":["
              "\"Ann Lee\",\"Oslo\"]},\n"
              "{\"group\":2,\"rows\":2,\"sheetRows\":[3,7],\"firstOccurrence\":3,\"texts\":["
              "\"Lee, Ann\",\"=Rome\"]}\n"
              "]}\n");
}

} // namespace
