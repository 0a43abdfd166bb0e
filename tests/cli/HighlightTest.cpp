// The batch command colours exactly what the window's run colours on the
// same texts, says so in its summary, and lists columns as the window does.
#include "BatchProcess.h"
#include "CliFixture.h"
#include "MemorySpreadsheet.h"

#include "sheet/HighlightBlock.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace fs = std::filesystem;
using dupes::RunKind;

namespace {

struct Case {
    const char* name;
    bool sample = false;            // the sample workbook, else the test book
    std::vector<std::string> flags; // besides workbook, --block and --output
    const char* extension;
    dupes::HighlightOptions options; // the same run as the gateway takes it
    bool json = false;
    bool replaceExisting = false;
    std::optional<dupes::RunSummary> documented = std::nullopt; // figures the README shows
};

std::int64_t TextFigure(const std::string& text, const std::string& label) {
    const auto at = text.find(label);
    return at == std::string::npos ? -1 : std::stoll(text.substr(at + label.size()));
}

std::int64_t JsonFigure(const std::string& json, const std::string& key) {
    const auto at = json.find("\"" + key + "\":");
    return at == std::string::npos ? -1 : std::stoll(json.substr(at + key.size() + 3));
}

dupes::RunSummary SummaryFrom(const std::string& out, bool json) {
    if (json) {
        return {JsonFigure(out, "rowsExamined"), JsonFigure(out, "rowsColoured"),
                JsonFigure(out, "duplicateGroups"), JsonFigure(out, "cellsColoured")};
    }
    return {TextFigure(out, "Rows examined:"), TextFigure(out, "Rows coloured:"),
            TextFigure(out, "Duplicate groups:"), TextFigure(out, "Cells coloured:")};
}

class SameAsTheWindowsRun : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(SameAsTheWindowsRun, ColoursSavesAndSummarises) {
    const Case& c = GetParam();
    const std::string workbook = c.sample ? Workbooks().sample : Workbooks().book;
    const std::string block = c.sample ? kSampleBlock : kPeopleBlock;
    const fs::path output = Scratch() / (std::string("coloured") + c.extension);
    if (c.replaceExisting) {
        std::ofstream(output) << "an earlier file";
    }
    std::vector<std::string> arguments{"highlight", workbook,   "--block",
                                       block,       "--output", output.string()};
    arguments.insert(arguments.end(), c.flags.begin(), c.flags.end());

    const BatchResult result = BatchProcess(arguments).wait();
    ASSERT_EQ(result.status, 0) << result.err;
    const CopyShown copy = ReadCopy(output.string(), block);
    // The window's run on the texts the copy shows, in memory: the cells it
    // colours, and where it colours none the fills the workbook came with.
    memory_sheet::MemorySpreadsheet memory;
    memory.files["copy"] = copy.texts;
    const auto reference = memory.openWorkbook("copy");
    const sheet::Block resolved = reference->findBlock(block);
    const dupes::RunSummary referenceSummary =
        sheet::HighlightBlock(*reference, resolved, c.options);
    Fills expected = FillsAround(*reference, resolved);
    for (const auto& [cell, fill] : c.sample ? Fills() : BookFills()) {
        if (expected.contains(cell) && !expected[cell]) {
            expected[cell] = fill;
        }
    }

    EXPECT_EQ(result.err, "");
    EXPECT_GT(referenceSummary.cellsColoured, 0); // the case colours something
    EXPECT_EQ(copy.fills, expected);
    EXPECT_EQ(SummaryFrom(result.out, c.json), referenceSummary) << result.out;
    if (c.documented) {
        EXPECT_EQ(referenceSummary, *c.documented);
    }
    if (c.json) {
        EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1);
        EXPECT_NE(result.out.find("\"output\":\"" + output.string() + "\""), std::string::npos);
        EXPECT_NE(result.out.find("\"block\":\"" + block + "\""), std::string::npos);
        EXPECT_NE(result.out.find("\"seconds\":"), std::string::npos);
    } else {
        EXPECT_NE(result.out.find("Coloured copy:     " + output.string() + "\n"),
                  std::string::npos);
        EXPECT_NE(result.out.find("Seconds:           "), std::string::npos);
    }
    // Only the copy is left in the folder: no temporary file of the save.
    EXPECT_EQ(std::distance(fs::directory_iterator(output.parent_path()), fs::directory_iterator()),
              1);
}

INSTANTIATE_TEST_SUITE_P(
    Batch, SameAsTheWindowsRun,
    ::testing::Values(Case{.name = "NumbersExceptFirstEntireRowJson",
                           .flags = {"--columns", "1,2", "--except-first", "--entire-row",
                                     "--colour", "red", "--json"},
                           .extension = ".ods",
                           .options = {RunKind::ExceptFirst,
                                       {true, true, false, false, false, false},
                                       dupes::HighlightColour::Red,
                                       true},
                           .json = true},
                      Case{.name = "TheSampleReplacingAnEarlierFile",
                           .sample = true,
                           .flags = {"--columns", "Name,City", "--force"},
                           .extension = ".xlsx",
                           .options = {RunKind::AllDuplicates,
                                       {true, true, false, false, false, false},
                                       dupes::HighlightColour::Yellow,
                                       false},
                           .replaceExisting = true,
                           .documented = dupes::RunSummary{21, 13, 6, 26}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Batch, ColumnsListsWhatTheWindowWouldShow) {
    const BatchResult book = RunBatch({"columns", Workbooks().book, "--block", kPeopleBlock});
    EXPECT_EQ(book.status, 0) << book.err;
    // A blank header by its place, and a header's value, not its display "$5.00".
    EXPECT_EQ(book.out, "Name\nCity\n<Blank Column 3>\n5\nLast, First\nNote\n");
    EXPECT_EQ(book.err, "");
}
