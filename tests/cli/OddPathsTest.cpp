// Paths a user may well give, saved to as asked: blanks, '#', '%', letters
// beyond ASCII, a leading '-', relative paths, the longest name a folder
// allows, temporaries on another disk. Several checks share each run, and
// the runs go at once: office starts are slow.
#include "BatchProcess.h"
#include "CliFixture.h"
#include "RunTraces.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace fs = std::filesystem;
using Output = BatchOptions::Output;

namespace {

struct OddRun {
    const char* name;
    std::string workbook; // relative to the run's folder, and given so when `relative`
    std::string output;
    bool relative = false;
    bool replaceExisting = false;      // an earlier file holds the name; --force is given
    bool temporariesElsewhere = false; // TMPDIR on another disk than the output
    Output standardOutput = Output::Caught;
};

// A zip package (.xlsx, .ods) or flat XML (.fods).
bool LooksSaved(const fs::path& file) {
    const std::string start = Bytes(file).substr(0, 5);
    return start.rfind("PK", 0) == 0 || start == "<?xml";
}

struct Prepared {
    fs::path folder, workbook, output, tmp;
    std::map<std::string, std::string> besideWorkbook, besideOutput;
    std::unique_ptr<BatchProcess> batch;
};

Prepared Start(const OddRun& run, const fs::path& scratch) {
    Prepared p;
    p.folder = scratch / run.name;
    p.workbook = p.folder / run.workbook;
    p.output = p.folder / run.output;
    fs::create_directories(p.workbook.parent_path());
    fs::create_directories(p.output.parent_path());
    fs::copy_file(Workbooks().book, p.workbook);
    if (run.replaceExisting) {
        std::ofstream(p.output) << "an earlier file";
    }
    const auto elsewhere = run.temporariesElsewhere ? OtherDisk(p.folder) : std::nullopt;
    std::string pattern = ((elsewhere ? *elsewhere : scratch) / "tmp-XXXXXX").string();
    p.tmp = ::mkdtemp(pattern.data());
    p.besideWorkbook = Listing(p.workbook.parent_path());
    p.besideOutput = Listing(p.output.parent_path());

    std::vector<std::string> arguments{
        "highlight", run.relative ? run.workbook : p.workbook.string(),
        "--block",   kPeopleBlock,
        "--columns", "Name,City",
        "--output",  run.relative ? run.output : p.output.string()};
    if (run.replaceExisting) {
        arguments.emplace_back("--force");
    }
    p.batch = std::make_unique<BatchProcess>(
        arguments, BatchOptions{.environment = {"TMPDIR=" + p.tmp.string()},
                                .workingFolder = p.folder.string(),
                                .standardOutput = run.standardOutput});
    return p;
}

// `after` is `before` but for the output's own entry.
void ExpectOnlyTheOutputChanged(std::map<std::string, std::string> before,
                                std::map<std::string, std::string> after, const fs::path& output) {
    before.erase(output.filename().string());
    after.erase(output.filename().string());
    EXPECT_EQ(after, before);
}

} // namespace

TEST(OddPaths, AreSavedToAsGiven) {
    const fs::path scratch = Scratch();
    const std::vector<OddRun> runs{
        {.name = "blanks #1 %20",
         .workbook = "in # %41/book #1 %20 .xlsx",
         .output = "out # %25/copy #2 %.ods",
         .replaceExisting = true},
        {.name = "unicode",
         .workbook = "Zürich данные/表 ☃.xlsx",
         .output = "Zürich данные/ünïcödé ☃.fods",
         .standardOutput = Output::Full},
        {.name = "dash",
         .workbook = "./-x.xlsx",
         .output = "-y.XLSX",
         .relative = true,
         .standardOutput = Output::Closed},
        {.name = "long",
         .workbook = "in/in.xlsx",
         .output = "out/" + std::string(250, 'l') + ".xlsx",
         .temporariesElsewhere = true},
    };
    std::vector<Prepared> started;
    for (const OddRun& run : runs) {
        started.push_back(Start(run, scratch));
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(runs[i].name);
        Prepared& p = started[i];
        const BatchResult result = p.batch->wait();
        const std::string where = fs::absolute(p.output).lexically_normal().string();
        if (runs[i].standardOutput == Output::Caught) {
            EXPECT_EQ(result.status, 0) << result.err;
            EXPECT_EQ(result.err, "");
            EXPECT_NE(result.out.find("Coloured copy:     " + where + "\n"), std::string::npos)
                << result.out;
        } else {
            // The copy is in place, but nobody saw the summary: a failure
            // that says where the copy is.
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.err, "vantrelo: the summary could not be written to standard "
                                  "output; the coloured copy is saved at \"" +
                                      where + "\"\n");
        }
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(p.output)));
        EXPECT_TRUE(LooksSaved(p.output)) << p.output;
        EXPECT_TRUE(Bytes(p.workbook) == Bytes(Workbooks().book));
        ExpectOnlyTheOutputChanged(p.besideWorkbook, Listing(p.workbook.parent_path()), p.output);
        ExpectOnlyTheOutputChanged(p.besideOutput, Listing(p.output.parent_path()), p.output);
        for (const auto& entry : fs::directory_iterator(p.tmp)) {
            // The office saves into its private folder, which must go with it.
            EXPECT_NE(entry.path().filename().string().rfind("vantrelo-office-", 0), 0u)
                << "the office's private folder was left behind";
        }
        fs::remove_all(p.tmp);
    }
}
