// The batch command's own steps over the spreadsheet held in memory: every
// failure after the workbook opens is said in words and leaves no output,
// in milliseconds. What only the office shows is in HighlightTest.
#include "cli/Commands.h"
#include "CliFixture.h"
#include "MemorySpreadsheet.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct StepFailure {
    std::string name;
    std::string columns;
    std::function<void(memory_sheet::Faults&)> fault;
    std::string message;

    friend void PrintTo(const StepFailure& failure, std::ostream* out) { *out << failure.name; }
};

class Commands : public ::testing::TestWithParam<StepFailure> {
protected:
    void SetUp() override {
        folder_ = Scratch();
        workbook_ = (folder_ / "people.xlsx").string();
        std::ofstream(workbook_) << "stands for a workbook";
        memory_sheet::Book book;
        book.sheets.push_back({"People", {}});
        book.sheets.back().place(2, 2,
                                 {{"Name", "City", "Name"},
                                  {"Ann", "Oslo", "x"},
                                  {"Bob", "Rome", "y"},
                                  {"Ann", "Oslo", "z"}});
        memory_.files[workbook_] = book;
    }

    cli::HighlightCommand command(const std::string& columns) const {
        cli::HighlightCommand c;
        c.workbook = workbook_;
        c.block = "People!$B$2:$D$5";
        c.columns = cli::ParseColumnChoice(columns);
        c.output = (folder_ / "out.xlsx").string();
        return c;
    }

    fs::path folder_;
    std::string workbook_;
    memory_sheet::MemorySpreadsheet memory_;
    const cli::SpreadsheetMaker inMemory_ = [this](const std::shared_ptr<sheet::StopSwitch>&) {
        return memory_sheet::Borrowed(memory_);
    };
};

} // namespace

TEST_F(Commands, ColoursSavesAndSummarises) {
    std::ostringstream out, err;
    cli::RunHighlightCommand(command("2"), inMemory_, out, err);
    EXPECT_NE(out.str().find("Rows coloured:     2\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Cells coloured:    2\n"), std::string::npos);
    EXPECT_EQ(memory_.record().fills.at("People").size(), 2u);
    EXPECT_EQ(memory_.record().closed, 1);
    // Only the workbook and its copy: the copy went in under its own name.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(Commands, WholeColumnsAreComparedAsFarAsTheSheetHoldsContent) {
    cli::HighlightCommand whole = command("2");
    whole.block = "People!$B:$D";
    whole.json = true;
    std::ostringstream out, err;
    cli::RunHighlightCommand(whole, inMemory_, out, err);
    EXPECT_NE(out.str().find("\"block\":\"People!$B:$D\",\"usedBlock\":\"People!$B$1:$D$5\""),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("\"rowsExamined\":5,"), std::string::npos);
}

// Names as the column list shows them: a comma inside one escaped, a blank
// header by its place.
TEST_F(Commands, ColumnsAreChosenByTheNamesTheListShows) {
    memory_sheet::Book book;
    book.sheets.push_back({"People", {}});
    book.sheets.back().place(2, 2,
                             {{"Name", "", "Last, First"},
                              {"Ann", "x", "Lee, Ann"},
                              {"Bob", "", "Ray, Bob"},
                              {"Cid", "x", "Lee, Ann"}});
    memory_.files[workbook_] = book;
    std::ostringstream out, err;
    cli::RunHighlightCommand(command("Last\\, First,<Blank Column 2>"), inMemory_, out, err);
    const std::map<memory_sheet::Cell, std::uint32_t> yellow{
        {{3, 3}, 0x00FFFF}, {{3, 4}, 0x00FFFF}, {{5, 3}, 0x00FFFF}, {{5, 4}, 0x00FFFF}};
    EXPECT_EQ(memory_.record().fills.at("People"), yellow);
}

// An output that appears while the office works is not replaced without
// --force, and the finished copy does not stay beside it.
TEST_F(Commands, AnOutputThatAppearsMeanwhileIsLeftAsItIs) {
    const cli::HighlightCommand c = command("2");
    memory_.onCall = [&](const std::string& call) {
        if (call == "saveCopyAs") {
            std::ofstream(c.output) << "someone else's";
        }
    };
    std::ostringstream out, err;
    try {
        cli::RunHighlightCommand(c, inMemory_, out, err);
        ADD_FAILURE() << "the command succeeded";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("exists; add --force to replace it"),
                  std::string::npos)
            << e.what();
    }
    std::ifstream kept(c.output);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "someone else's");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2)
        << "the copy was left beside the output";
}

TEST_P(Commands, StepFailureIsSaidAndLeavesNoOutput) {
    const StepFailure& failure = GetParam();
    if (failure.fault) {
        failure.fault(memory_.faults);
    }
    std::ostringstream out, err;
    try {
        cli::RunHighlightCommand(command(failure.columns), inMemory_, out, err);
        ADD_FAILURE() << "the command succeeded";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), failure.message);
    }
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(memory_.record().handedOver, 0);
    EXPECT_EQ(memory_.record().closed, memory_.record().opened);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1)
        << "something beside the workbook";
}

INSTANTIATE_TEST_SUITE_P(
    Steps, Commands,
    ::testing::Values(
        StepFailure{"ColumnTheBlockDoesNotHave",
                    "City,Town",
                    {},
                    "the block People!$B$2:$D$5 has no column named \"Town\"; its columns are: "
                    "Name, City, Name"},
        StepFailure{"NameTwoColumnsShare",
                    "Name",
                    {},
                    "the name \"Name\" stands for columns 1 and 3 of the block People!$B$2:$D$5; "
                    "give the number of the one you mean"},
        StepFailure{"OpenRefused", "1",
                    [](memory_sheet::Faults& f) { f.openFails = "LibreOffice could not open it."; },
                    "LibreOffice could not open it."},
        StepFailure{"ReadStops", "1", [](memory_sheet::Faults& f) { f.readFailsAfterRows = 1; },
                    "The spreadsheet stopped answering while the rows were read."},
        StepFailure{"ColoursRefused", "1",
                    [](memory_sheet::Faults& f) { f.colourRefused = "The sheet is protected."; },
                    "The sheet is protected."},
        StepFailure{"SaveFails", "1",
                    [](memory_sheet::Faults& f) { f.saveFails = "The disk is full."; },
                    "The disk is full."}),
    [](const auto& param) { return param.param.name; });
