// Outputs the command refuses before it starts an office.
#include "BatchProcess.h"
#include "CliFixture.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

BatchResult HighlightInto(const fs::path& workbook, const fs::path& output, bool force) {
    std::vector<std::string> arguments{"highlight", workbook.string(), "--block",  kPeopleBlock,
                                       "--columns", "Name,City",       "--output", output.string()};
    if (force) {
        arguments.emplace_back("--force");
    }
    return RunBatch(arguments);
}

// The working folder the command is started in is ours, so relative paths
// are spelled from it.
fs::path Relative(const fs::path& path) {
    return fs::relative(path, fs::current_path());
}

} // namespace

TEST(OutputRefusal, TheWorkbookItselfByAnyPath) {
    const fs::path folder = Scratch();
    const fs::path workbook = folder / "in.xlsx";
    fs::copy_file(Workbooks().book, workbook);
    fs::create_directory(folder / "sub");
    fs::create_symlink(workbook, folder / "link.xlsx");
    fs::create_hard_link(workbook, folder / "hard.xlsx");
    const std::string bytes = Bytes(workbook);

    for (const fs::path& output : {workbook, folder / "sub" / ".." / "in.xlsx", Relative(workbook),
                                   folder / "link.xlsx", folder / "hard.xlsx"}) {
        for (const bool force : {false, true}) {
            const BatchResult result = HighlightInto(workbook, output, force);
            EXPECT_EQ(result.status, 1) << output;
            EXPECT_EQ(result.err, "vantrelo: the output \"" + output.string() +
                                      "\" is the workbook itself, which is never written; name "
                                      "another file\n");
            EXPECT_EQ(result.out, "");
        }
    }
    // The link given as the workbook and the file as the output: the same.
    const BatchResult viaLink = HighlightInto(folder / "link.xlsx", workbook, true);
    EXPECT_EQ(viaLink.status, 1);
    EXPECT_NE(viaLink.err.find("is the workbook itself"), std::string::npos);
    EXPECT_TRUE(Bytes(workbook) == bytes);
}

TEST(OutputRefusal, AnExistingFileWithoutForce) {
    const fs::path output = Scratch() / "out.xlsx";
    std::ofstream(output) << "earlier work";
    const BatchResult result = HighlightInto(Workbooks().book, output, false);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vantrelo: the output \"" + output.string() +
                              "\" exists; add --force to replace it\n");
    EXPECT_EQ(Bytes(output), "earlier work");

    // A link that leads nowhere still holds the name.
    const fs::path dangling = output.parent_path() / "dangling.xlsx";
    fs::create_symlink(output.parent_path() / "nowhere.xlsx", dangling);
    EXPECT_EQ(HighlightInto(Workbooks().book, dangling, false).status, 1);
    EXPECT_TRUE(fs::is_symlink(dangling));
}

TEST(OutputRefusal, AFolderOrAMissingFolder) {
    const fs::path folder = Scratch();
    const BatchResult isFolder = HighlightInto(Workbooks().book, folder, true);
    EXPECT_EQ(isFolder.status, 1);
    EXPECT_EQ(isFolder.err,
              "vantrelo: the output \"" + folder.string() + "\" is a folder; name a file\n");

    const fs::path missing = folder / "no" / "such";
    const BatchResult noFolder = HighlightInto(Workbooks().book, missing / "out.xlsx", false);
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_EQ(noFolder.err,
              "vantrelo: the folder \"" + missing.string() + "\" for the output does not exist\n");
    EXPECT_FALSE(fs::exists(missing));
}
