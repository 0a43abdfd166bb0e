#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

// Makes real workbooks for tests and benchmarks through a headless office of
// its own, started on construction and ended on destruction.
class WorkbookMaker {
public:
    WorkbookMaker();
    ~WorkbookMaker();
    WorkbookMaker(const WorkbookMaker&) = delete;
    WorkbookMaker& operator=(const WorkbookMaker&) = delete;

    class Document;
    Document create();

private:
    struct Office;
    std::unique_ptr<Office> office_;
};

using CellValue = std::variant<std::monostate, std::string, double>;

class WorkbookMaker::Document {
public:
    ~Document();
    Document(Document&&) noexcept;
    Document(const Document&) = delete;

    // Selects the sheet to write to, making it if needed; the first call
    // renames the new document's only sheet.
    Document& sheet(const std::string& name);
    Document& text(const std::string& cell, const std::string& value);
    // `format` is a number format code in English ("0.00%", "#,##0.00 [$€-407]").
    Document& number(const std::string& cell, double value, const std::string& format = {});
    Document& formula(const std::string& cell, const std::string& formula,
                      const std::string& format = {});
    // Our colour order: red in the lowest byte.
    Document& fill(const std::string& cell, std::uint32_t colour);
    Document& hideRow(std::int32_t row);
    // Filters `range` so that rows whose cell in its first column shows
    // `text` are filtered out (hidden by the filter).
    Document& filterOut(const std::string& range, const std::string& text);
    Document& merge(const std::string& range);
    // Many cells at once, from `topLeft` down and right.
    Document& rows(const std::string& topLeft, const std::vector<std::vector<CellValue>>& values);
    Document& format(const std::string& range, const std::string& format);
    // Protects the selected sheet, as the office's "Protect Sheet" does.
    Document& protect(const std::string& password);
    // Saves in the format the extension names (.xlsx, .xls, .ods, .csv),
    // encrypted with `password` when one is given.
    void saveAs(const std::string& path, const std::string& password = {});

private:
    friend class WorkbookMaker;
    friend struct WorkbookMakerUno;
    struct State;
    explicit Document(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};
