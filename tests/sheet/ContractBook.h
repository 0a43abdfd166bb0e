#pragma once

#include "MemorySpreadsheet.h"

// The workbook every backend's contract is checked on. Its first sheets hold
// texts only, so that what a backend shows is what was put there, whatever
// its formats. "Mixed" holds every kind of cell under every kind of format,
// each with the text it shows, for the bulk reads that must show the same.
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

    using Kind = memory_sheet::Content::Kind;
    const auto text = [](std::string format, std::string value) {
        return memory_sheet::Content{Kind::Text, std::move(format), std::move(value), 0, 0};
    };
    const auto number = [](std::string format, double value) {
        return memory_sheet::Content{Kind::Number, std::move(format), {}, value, 0};
    };
    const auto error = [](std::int32_t code) {
        return memory_sheet::Content{Kind::Error, "General", {}, 0, code};
    };
    const std::string date = "YYYY-MM-DD";
    // Its text section frames a text; a blank cell shows nothing in any format.
    const std::string custom = "0;-0;0;\"<\"@\">\"";
    auto& mixed = book.sheets.emplace_back(memory_sheet::Sheet{"Mixed", {}, {}});
    mixed.place(1, 1,
                {{"Text", "Number", "Date", "Error", "Custom", "Mixed", "Text format"},
                 {"Ann", "1234.5", "2024-03-01", "#DIV/0!", "<abc>", "plain", "007"},
                 {"  Oslo ", "-7", "2024-03-02", "#N/A", "5", "kept", "a b"},
                 {"Zürich", "0.25", "", "ok", "", "3.00", ""},
                 {"", "", "x", "", "", "TRUE", "TRUE"},
                 {"x|y", "n/a", "2024-03-01", "#DIV/0!", "<Zürich >", "", "12"}});
    mixed.contents = {
        {{2, 2}, number("General", 1234.5)},
        {{3, 2}, number("General", -7)},
        {{4, 2}, number("General", 0.25)},
        {{2, 3}, number(date, 45352)},
        {{3, 3}, number(date, 45353)},
        {{5, 3}, text(date, "x")},
        {{6, 3}, number(date, 45352)},
        {{2, 4}, error(2007)},
        {{3, 4}, error(2042)},
        {{6, 4}, error(2007)},
        {{2, 5}, text(custom, "abc")},
        {{3, 5}, number(custom, 5)},
        {{5, 5}, text(custom, "")},
        {{6, 5}, text(custom, "Zürich ")},
        {{3, 6}, text("@", "kept")},
        {{4, 6}, number("0.00", 3)},
        {{2, 7}, text("@", "007")},
        {{3, 7}, text("@", "a b")},
        {{4, 7}, text("@", "")},
        {{5, 7}, text("@", "TRUE")},
        {{6, 7}, text("@", "12")},
    };
    return book;
}
