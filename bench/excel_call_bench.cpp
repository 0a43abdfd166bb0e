// Counts the COM calls the Excel backend makes to read, and to colour,
// 100,000 rows x 3 compared columns, against the stand-in for Excel, which
// counts every call it gets: against a real Excel each is a round trip into
// its process, and each object handed out costs one more when released.
// Windows only; run under Wine by scripts/cross-windows.sh.
#include "FakeExcelModel.h"
#include "sheet/HighlightBlock.h"
#include "sheet/NumberText.h"
#include "sheet/OpenExcelWorkbook.h"
#include "sheet/excel/Excel.h"

#include <cstdio>

namespace {

constexpr std::int32_t kRows = 100000;
constexpr std::int32_t kDistinct = 75000; // so a quarter of the keys come twice

enum class Columns { Text, Number, Mixed };

// Three columns whose rows repeat, scattered: row i shows key p(i) modulo
// kDistinct, p a permutation, so half the rows are coloured, rarely two in a row.
memory_sheet::Book MakeBook(Columns kind) {
    using memory_sheet::Content;
    memory_sheet::Sheet sheet{"Data", {}, {}};
    const auto number = [&sheet](std::int32_t row, std::int32_t column, double value,
                                 std::string shown, std::string format) {
        sheet.texts[{row, column}] = std::move(shown);
        sheet.contents[{row, column}] =
            Content{Content::Kind::Number, std::move(format), {}, value, 0};
    };
    for (std::int32_t i = 0; i < kRows; ++i) {
        const std::int32_t row = i + 1;
        const std::int32_t key =
            static_cast<std::int32_t>((std::int64_t{i} * 7919) % kRows) % kDistinct;
        const std::string k = std::to_string(key);
        switch (kind) {
        case Columns::Text:
            sheet.place(row, 1, {{"Name " + k, "Town " + k, "Code " + k}});
            break;
        case Columns::Number:
            for (std::int32_t column = 1; column <= 3; ++column) {
                number(row, column, key * column, sheet::NumberAsText(key * column), "General");
            }
            break;
        case Columns::Mixed:
            sheet.place(row, 1, {{"Name " + k}});
            number(row, 2, key, k, "General");
            number(row, 3, 40000 + key, sheet::SerialAsText(40000 + key, {}, true, false),
                   "yyyy-mm-dd");
            break;
        }
    }
    return memory_sheet::Book{{std::move(sheet)}};
}

void Measure(Columns kind, const char* name) {
    const fake::StandInFile file("vantrelo-excel-call-bench.xlsx");
    fake::FakeExcelModel excel;
    excel.log().journalling = false;
    excel.addFile(file.path(), MakeBook(kind));
    sheet::excel::ExcelOptions options;
    options.start = [&excel] { return excel.start(); };
    const auto spreadsheet = sheet::excel::MakeExcel(std::move(options));
    const auto workbook = sheet::OpenExcelWorkbook(*spreadsheet, file.text());
    const sheet::Block block = workbook->findBlock("Data!$A$1:$C$" + std::to_string(kRows));

    // Reading runs from the start of the run until the finding begins,
    // colouring from its start to the end.
    struct Count {
        std::uint64_t calls, released;
    };
    const auto now = [&excel] { return Count{excel.log().calls, excel.log().released}; };
    const Count readStart = now();
    Count readEnd{};
    Count colourStart{};
    const auto listener = [&](const sheet::Progress& progress) {
        if (progress.stage == sheet::Stage::FindingRepeats) {
            readEnd = now();
        } else if (progress.stage == sheet::Stage::Colouring) {
            colourStart = now();
        }
    };
    const auto summary = sheet::HighlightBlock(
        *workbook, block,
        {dupes::RunKind::AllDuplicates, {true, true, true}, dupes::HighlightColour::Yellow, false},
        listener);
    const Count colourEnd = now();
    std::printf("read %d rows x 3 %s columns: %llu calls, %llu releases\n", kRows, name,
                static_cast<unsigned long long>(readEnd.calls - readStart.calls),
                static_cast<unsigned long long>(readEnd.released - readStart.released));
    std::printf("colour %lld of %d rows x 3 %s columns: %llu calls, %llu releases\n",
                static_cast<long long>(summary.rowsColoured), kRows, name,
                static_cast<unsigned long long>(colourEnd.calls - colourStart.calls),
                static_cast<unsigned long long>(colourEnd.released - colourStart.released));
    std::fflush(stdout);
}

} // namespace

int main() {
    try {
        Measure(Columns::Text, "text");
        Measure(Columns::Number, "number");
        Measure(Columns::Mixed, "mixed (text, number, date)");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "excel_call_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
