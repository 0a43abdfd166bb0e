#include "OutputFile.h"

#include "sheet/SheetError.h"

#include <random>
#include <stdexcept>
#include <string>

namespace cli {
namespace fs = std::filesystem;
namespace {

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    // A link that leads nowhere still takes the name.
    return fs::exists(fs::symlink_status(path, ec));
}

bool IsTheWorkbook(const fs::path& workbook, const fs::path& output) {
    std::error_code ec;
    if (fs::equivalent(workbook, output, ec)) {
        return true;
    }
    const fs::path a = fs::weakly_canonical(workbook, ec);
    const fs::path b = fs::weakly_canonical(output, ec);
    return !ec && a == b;
}

// A name no file has yet, beside `output` and with its extension, which
// tells the office the format.
fs::path PartialFileFor(const fs::path& output) {
    std::random_device seed;
    std::mt19937 draw(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path partial =
            output.parent_path() / ("." + output.stem().string() + ".partial-" +
                                    std::to_string(draw() % 1000000) + output.extension().string());
        if (!Exists(partial)) {
            return partial;
        }
    }
    throw std::runtime_error("no free name for a temporary file beside " + Quoted(output));
}

std::string ReplacedAll(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); !from.empty() && at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

} // namespace

void CheckOutput(const fs::path& workbook, const fs::path& output, bool force) {
    if (IsTheWorkbook(workbook, output)) {
        throw std::runtime_error(
            "the output " + Quoted(output) +
            " is the workbook itself, which is never written; name another file");
    }
    std::error_code ec;
    if (Exists(output)) {
        if (fs::is_directory(output, ec)) {
            throw std::runtime_error("the output " + Quoted(output) + " is a folder; name a file");
        }
        if (!force) {
            throw std::runtime_error("the output " + Quoted(output) +
                                     " exists; add --force to replace it");
        }
        return;
    }
    const fs::path folder = fs::absolute(output, ec).parent_path();
    if (!fs::is_directory(folder, ec)) {
        throw std::runtime_error("the folder " + Quoted(folder) + " for the output does not exist");
    }
}

void SaveCopy(sheet::Workbook& workbook, const fs::path& workbookPath, const fs::path& output,
              bool force) {
    const fs::path partial = PartialFileFor(output);
    std::error_code ec;
    try {
        workbook.saveCopyAs(partial.string());
    } catch (const sheet::SheetError& e) {
        fs::remove(partial, ec);
        // The message is about the file the user named, not our temporary one.
        throw sheet::SheetError(ReplacedAll(e.what(), partial.string(), output.string()));
    } catch (...) {
        fs::remove(partial, ec);
        throw;
    }
    try {
        CheckOutput(workbookPath, output, force);
    } catch (...) {
        fs::remove(partial, ec);
        throw;
    }
    fs::rename(partial, output, ec);
    if (ec) {
        const std::string why = ec.message();
        fs::remove(partial, ec);
        throw std::runtime_error("the coloured copy could not be put at " + Quoted(output) + ": " +
                                 why);
    }
}

} // namespace cli
