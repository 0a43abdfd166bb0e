#pragma once

#include "MemorySpreadsheet.h"

// The workbook every backend's contract is checked on: texts only, so that
// what a backend shows is what was put there, whatever its formats.
inline memory_sheet::Book ContractBook() {
    memory_sheet::Book book;
    book.sheets.push_back({"Data", {}});
    book.sheets.back().place(5, 3,
                             {{"Name", "", "Code", "City"},
                              {"Ann", "a", "1", "Oslo"},
                              {"Bob", "b", "2", "Rome"},
                              {"Ann", "c", "3", "Oslo"},
                              {"", "d", "4", "Oslo "}});
    book.sheets.push_back({"My Data", {}});
    book.sheets.back().place(2, 2, {{"Solo"}});
    return book;
}
