#include "BenchWorkbook.h"

#include "WorkbookMaker.h"

#include <vector>

// Names like "Jun 12" read as dates, so the office keeps those cells as
// text with a format of their own: a tenth of the name column carries a
// format, the hard case for colouring around existing formats.
void MakeBenchWorkbook(int rows, const std::string& path) {
    const char* names[] = {"Ann", "Bob", "Cid", "Dora", "Eve", "Finn", "Gus", "Hana", "Ivo", "Jun"};
    const char* cities[] = {"Oslo", "Rome", "Pisa", "Lyon", "Graz", "Bonn", "Cork"};
    std::vector<std::vector<CellValue>> values;
    values.reserve(static_cast<std::size_t>(rows) + 1);
    values.push_back({std::string("Name"), std::string("City"), std::string("Code"),
                      std::string("Amount"), std::string("Date"), std::string("Note")});
    unsigned seed = 12345;
    const auto next = [&seed] {
        return seed = seed * 1103515245u + 12345u, (seed >> 8) % 1000003u;
    };
    for (int r = 1; r <= rows; ++r) {
        int key = r;
        if (r > 3 && next() % 3 == 0) {
            key = 1 + static_cast<int>(next() % static_cast<unsigned>(r - 1)); // a repeat
        }
        values.push_back({std::string(names[key % 10]) + " " + std::to_string(key / 10),
                          std::string(cities[key % 7]), static_cast<double>(key * 7 % 100003),
                          static_cast<double>(next() % 100000) / 100.0,
                          40000.0 + static_cast<double>(next() % 3000),
                          std::string("note ") + std::to_string(r)});
    }
    WorkbookMaker maker;
    auto doc = maker.create();
    doc.sheet("Data").rows("A1", values);
    const std::string last = std::to_string(rows + 1);
    doc.format("C2:C" + last, "00000")
        .format("D2:D" + last, "#,##0.00")
        .format("E2:E" + last, "YYYY-MM-DD");
    doc.saveAs(path);
}
