#pragma once

#include <string>

// Writes to `path`, through a headless office of its own, the benchmarks'
// workbook: a header row and `rows` rows on the sheet "Data", in six columns:
// name, city, code (the three compared), amount, date, note. About a third of
// the rows repeat an earlier row's three compared columns.
void MakeBenchWorkbook(int rows, const std::string& path);
