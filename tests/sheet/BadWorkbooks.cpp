#include "BadWorkbooks.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace fs = std::filesystem;

namespace {

void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("making a test workbook failed: " + command);
    }
}

// Unzips `from`, changes the text of `part` with `edit` and zips it all
// again as `to`.
void RewritePart(const std::string& from, const std::string& part,
                 const std::function<std::string(std::string)>& edit, const fs::path& to) {
    const fs::path work = to.parent_path() / (to.filename().string() + ".parts");
    fs::create_directories(work);
    Run("cd '" + work.string() + "' && unzip -q '" + from + "'");
    std::string text;
    {
        std::ifstream in(work / part, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        text = bytes.str();
    }
    std::ofstream(work / part, std::ios::binary | std::ios::trunc) << edit(text);
    Run("cd '" + work.string() + "' && zip -q -r -X '" + to.string() + "' .");
    fs::remove_all(work);
}

// `text` with each of `changes` (from, to) made once; throws when one is
// not found.
std::string Changed(std::string text,
                    std::initializer_list<std::pair<std::string, std::string>> changes) {
    for (const auto& [from, to] : changes) {
        const auto found = text.find(from);
        if (found == std::string::npos) {
            throw std::runtime_error("making a test workbook: \"" + from + "\" was not found");
        }
        text.replace(found, from.size(), to);
    }
    return text;
}

} // namespace

BadWorkbooks MakeBadWorkbooks(WorkbookMaker& maker, const fs::path& folder,
                              const std::string& people) {
    BadWorkbooks bad;
    const auto at = [&](const char* name) { return (folder / name).string(); };
    bad.empty = at("empty.xlsx");
    bad.cutShortSheet = at("cut-short-sheet.xlsx");
    bad.cutShortFile = at("cut-short-file.xlsx");
    bad.pastTheLastRow = at("past-the-last-row.xlsx");
    bad.passwordProtected = at("password.ods");
    bad.storedResults = at("stored-results.xlsx");

    std::ofstream(bad.empty, std::ios::binary).flush();
    // The People sheet is the second; every part is there, this one cut short.
    RewritePart(
        people, "xl/worksheets/sheet2.xml",
        [](std::string text) { return text.substr(0, text.size() / 2); }, bad.cutShortSheet);
    // Its row 11 moved past the last row the office has.
    RewritePart(
        people, "xl/worksheets/sheet2.xml",
        [](std::string text) {
            return Changed(std::move(text), {{"<row r=\"11\" ", "<row r=\"1048600\" "},
                                             {"<c r=\"B11\" ", "<c r=\"B1048600\" "},
                                             {"<c r=\"C11\" ", "<c r=\"C1048600\" "}});
        },
        bad.pastTheLastRow);
    fs::copy_file(people, bad.cutShortFile);
    fs::resize_file(bad.cutShortFile, fs::file_size(people) / 2);

    maker.create().sheet("Secret").text("A1", "x").saveAs(bad.passwordProtected, "secret");

    // The linked file is gone once the workbook is saved, as it is on
    // another person's computer: only the stored result is left.
    const std::string far = at("far.ods");
    const std::string calculated = at("calculated.xlsx");
    maker.create().sheet("Far").text("A1", "far away").saveAs(far);
    maker.create()
        .sheet("Stored")
        .formula("A1", "=RAND()", "0.000000000000")
        .formula("B1", "=NOW()", "YYYY-MM-DD HH:MM:SS.000")
        .formula("C1", "='file://" + far + "'#$Far.A1")
        .formula("D1", "=1+1")
        .saveAs(calculated);
    fs::remove(far);
    // A result stored that calculating again would not give, as a link's or
    // a web query's is once its source is out of reach.
    RewritePart(
        calculated, "xl/worksheets/sheet1.xml",
        [](std::string text) {
            return Changed(std::move(text), {{">1+1</f><v>2</v>", ">1+1</f><v>5</v>"}});
        },
        bad.storedResults);
    fs::remove(calculated);
    return bad;
}
