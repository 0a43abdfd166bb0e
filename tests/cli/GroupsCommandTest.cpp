// The groups report, colours per group and forgiving matching through the
// batch command's own steps, over the spreadsheet held in memory.
#include "CliFixture.h"
#include "MemorySpreadsheet.h"
#include "cli/Commands.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class GroupsCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = Scratch();
        workbook_ = (folder_ / "people.xlsx").string();
        std::ofstream(workbook_) << "stands for a workbook";
        memory_sheet::Book book;
        book.sheets.push_back({"People", {}});
        // Rows 3 to 9 of the sheet; row 5 differs from row 3 in case and a blank.
        book.sheets.back().place(2, 2,
                                 {{"Name", "City"},
                                  {"Ann", "Oslo"},
                                  {"Bob", "Rome"},
                                  {"ann", "Oslo "},
                                  {"Ann", "Oslo"},
                                  {"Bob", "Rome"},
                                  {"Cid", "Pisa"},
                                  {"Cid", "=Pisa"}});
        memory_.files[workbook_] = book;
    }

    cli::HighlightCommand command() const {
        cli::HighlightCommand c;
        c.workbook = workbook_;
        c.block = "People!$B$2:$C$9";
        c.columns = cli::ParseColumnChoice("Name,City");
        c.output = (folder_ / "out.xlsx").string();
        c.groups = (folder_ / "groups.csv").string();
        return c;
    }

    std::string run(const cli::HighlightCommand& c) {
        std::ostringstream out, err;
        cli::RunHighlightCommand(c, inMemory_, out, err);
        return out.str();
    }

    fs::path folder_;
    std::string workbook_;
    memory_sheet::MemorySpreadsheet memory_;
    const cli::SpreadsheetMaker inMemory_ = [this](const std::shared_ptr<sheet::StopSwitch>&) {
        return memory_sheet::Borrowed(memory_);
    };
};

TEST_F(GroupsCommand, ReportOnlyWritesTheReportAndColoursAndSavesNothing) {
    cli::HighlightCommand c = command();
    c.reportOnly = true;
    c.output.clear();
    c.groups = (folder_ / "groups.json").string();
    c.matching = {true, true};
    c.exceptFirst = true;
    const std::string summary = run(c);
    EXPECT_EQ(summary.find("Coloured copy"), std::string::npos) << summary;
    EXPECT_NE(summary.find("Matching:          ignore-case+trim\n"), std::string::npos);
    EXPECT_TRUE(memory_.record().fills.empty() || memory_.record().fills.at("People").empty());
    EXPECT_TRUE(memory_.record().savedCopies.empty());
    EXPECT_EQ(memory_.record().closed, 1);
    // The near-repeat in row 5 joins Ann's group; its first occurrence is marked.
    const std::string report = Bytes(c.groups);
    EXPECT_NE(report.find("{\"group\":1,\"rows\":3,\"sheetRows\":[3,5,6],\"firstOccurrence\":3,"
                          "\"texts\":[\"Ann\",\"Oslo\"]}"),
              std::string::npos)
        << report;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

// A report that appears while the office works is left as it is; the copy
// is saved by then, and the message says where.
TEST_F(GroupsCommand, AReportThatAppearsMeanwhileIsLeftAsItIs) {
    const cli::HighlightCommand c = command();
    memory_.onCall = [&](const std::string& call) {
        if (call == "saveCopyAs") {
            std::ofstream(c.groups) << "someone else's";
        }
    };
    try {
        run(c);
        ADD_FAILURE() << "the command succeeded";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "the groups report \"" + c.groups +
                                             "\" exists; add --force to replace it; the coloured "
                                             "copy is saved at \"" +
                                             c.output + "\"");
    }
    EXPECT_EQ(Bytes(c.groups), "someone else's");
}

struct Refusal {
    const char* name;
    std::function<void(cli::HighlightCommand&, const fs::path& folder)> arrange;
    std::string message; // FOLDER stands for the test's folder
};

class GroupsFileRefused : public GroupsCommand, public ::testing::WithParamInterface<Refusal> {};

TEST_P(GroupsFileRefused, AsUsageBeforeTheOfficeStarts) {
    cli::HighlightCommand c = command();
    GetParam().arrange(c, folder_);
    std::string message = GetParam().message;
    message.replace(message.find("FOLDER"), 6, folder_.string());
    try {
        run(c);
        ADD_FAILURE() << "the command succeeded";
    } catch (const cli::UsageError& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
    EXPECT_EQ(memory_.record().opened, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, GroupsFileRefused,
    ::testing::Values(
        Refusal{"InAMissingFolder",
                [](auto& c, const auto& folder) { c.groups = (folder / "no" / "g.csv").string(); },
                "the folder \"FOLDER/no\" for the groups report does not exist"},
        Refusal{"ThatExists", [](auto& c, const auto&) { std::ofstream(c.groups) << "earlier"; },
                "the groups report \"FOLDER/groups.csv\" exists; add --force to replace it"}),
    [](const auto& param) { return std::string(param.param.name); });

} // namespace
