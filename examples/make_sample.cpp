// Writes the sample workbook: people and their cities, with repeats that a
// highlight run finds and near-repeats (letter case, a trailing blank, a
// different spelling) that it must not, and a few number formats.
#include "WorkbookMaker.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

CellValue T(const char* text) {
    return std::string(text);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_sample OUTPUT.xlsx\n";
        return 2;
    }
    try {
        const std::vector<std::vector<CellValue>> people{
            {T("Name"), T("City"), T("Joined"), T("Salary"), T("Share"), T("Code")},
            {T("Ann Lee"), T("Oslo"), 44256.0, 52000.0, 0.125, 7.0},
            {T("Bob Ray"), T("Rome"), 43784.0, 48500.0, 0.08, 12.0},
            {T("Ann Lee"), T("Oslo"), 44742.0, 61000.0, 0.2, 7.0},
            {T("Cara Diaz"), T("Lima"), 44105.0, 39900.5, 0.05, 31.0},
            {T("ann lee"), T("Oslo"), 44256.0, 52000.0, 0.125, 7.0},
            {T("Bob Ray"), T("Rome"), 45001.0, 50250.0, 0.1, 12.0},
            {T("Dev Shah"), T("Pune"), 44562.0, 45000.0, 0.0625, 40.0},
            {T("Ann Lee"), T("Oslo"), 45200.0, 63000.0, 0.2, 8.0},
            {T("Eve Moss"), T("Kyiv"), 43900.0, 47000.0, 0.15, 51.0},
            {T("Cara Diaz"), T("Lima"), 44105.0, 39900.5, 0.05, 31.0},
            {T("Bob Ray"), T("Rome "), 43784.0, 48500.0, 0.08, 12.0},
            {T("Finn Olsen"), T("Bergen"), 44900.0, 58000.0, 0.3, 60.0},
            {T("Gia Rossi"), T("Milan"), 44650.0, 53500.0, 0.11, 72.0},
            {T("Dev Shah"), T("Pune"), 45100.0, 46000.0, 0.0625, 41.0},
            {T("Hugo Brandt"), T("Bern"), 44020.0, 71000.0, 0.25, 80.0},
            {T("Eve Moss"), T("Kiev"), 43900.0, 47000.0, 0.15, 51.0},
            {T("Ivy Chen"), T("Taipei"), 44800.0, 49000.0, 0.09, 95.0},
            {T("Gia Rossi"), T("Milan"), 44650.0, 53500.0, 0.11, 72.0},
            {T("Jon Park"), T("Seoul"), 45300.0, 44000.0, 0.07, 99.0},
            {T("Finn Olsen"), T("Bergen"), 44900.0, 58000.0, 0.3, 60.0},
        };
        WorkbookMaker maker;
        auto doc = maker.create();
        doc.sheet("People").rows("A1", people);
        doc.format("C2:C21", "YYYY-MM-DD")
            .format("D2:D21", "#,##0.00")
            .format("E2:E21", "0.0%")
            .format("F2:F21", "000")
            // The same code shown without its leading zeros: "31" here, "031" above.
            .format("F11", "0");
        doc.saveAs(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "make_sample: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
