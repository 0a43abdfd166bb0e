// Whole highlight runs on real workbooks of 10,000, 100,000 and 1,000,000
// rows x 6 columns, through a headless office: the bulk route, timed step by
// step, against the per-cell route (up to 100,000 rows), with a check that
// both colour the same cells. Usage: run_bench [largest rows, default 1000000]
#include "BenchWorkbook.h"
#include "dupes/HighlightRun.h"
#include "reference/CellByCellRun.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/libreoffice/LibreOffice.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Cell = std::pair<std::int32_t, std::int32_t>;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Passes every request on, timing reads and colouring and noting the cells
// asked to be coloured.
class Timed final : public dupes::BlockAccess {
public:
    explicit Timed(dupes::BlockAccess& inner) : inner_(inner) {}
    double readSeconds = 0, colourSeconds = 0;
    std::set<Cell> coloured;

    std::string cellText(std::int32_t row, std::int32_t column) override {
        const auto start = Clock::now();
        auto text = inner_.cellText(row, column);
        readSeconds += Seconds(start);
        return text;
    }
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override {
        const auto start = Clock::now();
        inner_.readTexts(firstRow, rowCount, columns, out);
        readSeconds += Seconds(start);
    }
    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override {
        const auto start = Clock::now();
        inner_.colourSpans(spans, colour);
        colourSeconds += Seconds(start);
        for (const auto& span : spans) {
            for (auto column = span.firstColumn; column <= span.lastColumn; ++column) {
                coloured.insert({span.row, column});
            }
        }
    }

private:
    dupes::BlockAccess& inner_;
};

struct Figures {
    double open = 0, read = 0, find = 0, colour = 0, total = 0;
    std::set<Cell> coloured;
};

Figures Run(const std::string& path, const std::string& blockText,
            const dupes::HighlightOptions& options, bool cellByCell) {
    sheet::libreoffice::LibreOfficeOptions officeOptions;
    officeOptions.headless = true;
    auto office = sheet::libreoffice::MakeLibreOffice(officeOptions);
    Figures f;
    const auto start = Clock::now();
    auto book = sheet::OpenExcelWorkbook(*office, path);
    f.open = Seconds(start);
    const auto block = book->findBlock(blockText);
    Timed timed(book->cells(block));
    const auto runStart = Clock::now();
    if (cellByCell) {
        dupes::RunHighlightCellByCell(options, block.geometry(), timed);
    } else {
        dupes::RunHighlight(options, block.geometry(), timed);
    }
    const double run = Seconds(runStart);
    book->show();
    f.total = Seconds(start);
    f.read = timed.readSeconds;
    f.colour = timed.colourSeconds;
    f.find = run - f.read - f.colour;
    f.coloured = std::move(timed.coloured);
    return f;
}

} // namespace

int main(int argc, char** argv) {
    const int largest = argc > 1 ? std::atoi(argv[1]) : 1000000;
    char pattern[] = "/tmp/vantrelo-bench-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(pattern);
    std::printf("%9s %-13s %-5s %7s %7s %7s %7s %8s %10s %8s %s\n", "rows", "run", "row",
                "start+load", "read", "find", "colour", "total", "per-cell", "speed-up",
                "same cells");
    for (const int rows : {10000, 100000, 1000000}) {
        if (rows > largest) {
            break;
        }
        const std::string path = (folder / ("rows" + std::to_string(rows) + ".xlsx")).string();
        MakeBenchWorkbook(rows, path);
        const std::string blockText = "Data!$A$1:$F$" + std::to_string(rows + 1);
        for (const auto kind : {dupes::RunKind::AllDuplicates, dupes::RunKind::ExceptFirst}) {
            for (const bool entireRow : {false, true}) {
                const dupes::HighlightOptions options{kind,
                                                      {true, true, true, false, false, false},
                                                      dupes::HighlightColour::Yellow,
                                                      entireRow};
                const Figures fast = Run(path, blockText, options, false);
                std::string perCell = "-", speedUp = "-", same = "-";
                if (rows <= 100000 && !entireRow) {
                    const Figures slow = Run(path, blockText, options, true);
                    const double slowRun = slow.read + slow.find + slow.colour;
                    const double fastRun = fast.read + fast.find + fast.colour;
                    perCell = std::to_string(slowRun).substr(0, 7) + "s";
                    speedUp = std::to_string(static_cast<int>(slowRun / fastRun)) + "x";
                    same = slow.coloured == fast.coloured ? "yes" : "NO";
                }
                std::printf(
                    "%9d %-13s %-5s %9.2fs %6.2fs %6.2fs %6.2fs %7.2fs %10s %8s %s (%zu cells)\n",
                    rows, kind == dupes::RunKind::AllDuplicates ? "all" : "except-first",
                    entireRow ? "whole" : "cells", fast.open, fast.read, fast.find, fast.colour,
                    fast.total, perCell.c_str(), speedUp.c_str(), same.c_str(),
                    fast.coloured.size());
                std::fflush(stdout);
            }
        }
        std::filesystem::remove(path);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
