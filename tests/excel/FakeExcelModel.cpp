#include "FakeExcelModel.h"

#include "sheet/BlockText.h"
#include "sheet/excel/FileFormat.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace fake {
namespace {

namespace fs = std::filesystem;
using Record = FakeObject::Record;
using sheet::excel::WideOf;

const sheet::SheetLimits kLimits{};
constexpr std::int32_t kCellReference = 8; // InputBox Type
constexpr std::int32_t kNoFill = -4142;    // xlColorIndexNone
constexpr std::int32_t kSomeFill = 1;      // a palette index; told only from none
constexpr double kWhite = 0xFFFFFF;        // the Color of a cell without fill

// Positional argument `i`, first to last as the caller wrote them; none when
// left out. DISPPARAMS holds the named ones first, then these last to first.
std::optional<Variant> Argument(const Record& call, std::size_t i) {
    const std::size_t positional = call.arguments.size() - call.named.size();
    if (i >= positional) {
        return std::nullopt;
    }
    const Variant& value = call.arguments[call.named.size() + positional - 1 - i];
    return value.type() == VT_ERROR ? std::nullopt : std::optional<Variant>(value);
}

Variant Required(const Record& call, std::size_t i) {
    auto value = Argument(call, i);
    if (!value) {
        throw std::invalid_argument("Argument not optional");
    }
    return *value;
}

std::string FileNameOf(const fs::path& path) {
    const std::wstring name = path.filename().wstring();
    return sheet::excel::Utf8Of(name.data(), name.size());
}

// The index of the sheet named `name`; the count of sheets when none is.
std::size_t IndexOf(const memory_sheet::Book& book, const std::string& name) {
    const auto& all = book.sheets;
    return static_cast<std::size_t>(
        std::find_if(all.begin(), all.end(), [&](const auto& s) { return s.name == name; }) -
        all.begin());
}

// A property put's value.
const Variant& PutValue(const Record& call) {
    return call.arguments.at(0);
}

// Excel's reference text ("'My Data'!$C$5:$F$9,'My Data'!$H$1", "C20:F22,C25")
// taken apart: every area may carry the sheet, and a comma inside a quoted
// sheet name parts nothing.
sheet::ParsedBlockText ParseReference(const std::string& text) {
    sheet::ParsedBlockText whole;
    std::string piece;
    const auto take = [&] {
        const auto part = sheet::ParseBlockText(piece, kLimits);
        if (part.sheetName && whole.sheetName && *part.sheetName != *whole.sheetName) {
            throw std::invalid_argument("Method 'Range' of object '_Global' failed");
        }
        whole.sheetName = part.sheetName ? part.sheetName : whole.sheetName;
        whole.areas.insert(whole.areas.end(), part.areas.begin(), part.areas.end());
        piece.clear();
    };
    bool quoted = false;
    for (const char c : text) {
        quoted = c == '\'' ? !quoted : quoted;
        if (c == ',' && !quoted) {
            take();
        } else {
            piece += c;
        }
    }
    take();
    return whole;
}

// The reference in the input box as the person reads it: a block text.
std::string BlockTextOf(const std::string& reference) {
    try {
        const auto parsed = ParseReference(reference);
        return (parsed.sheetName ? *parsed.sheetName + "!" : "") +
               sheet::FormatAddress(parsed.areas, kLimits);
    } catch (const std::exception&) {
        return reference;
    }
}

// Text, Value and fills are read cell by cell by the backend, so only a
// single cell's are answered.
memory_sheet::Cell OneCell(const std::vector<dupes::BlockGeometry>& areas) {
    if (areas.size() != 1 || areas[0].firstRow != areas[0].lastRow ||
        areas[0].firstColumn != areas[0].lastColumn) {
        throw std::invalid_argument("The stand-in for Excel reads single cells only.");
    }
    return {areas[0].firstRow, areas[0].firstColumn};
}

} // namespace

FakeExcelModel::FakeExcelModel(Person person) : person_(std::move(person)) {
    answerWith(
        application_,
        {{L"Workbooks", giving([this]() -> FakeObject& { return workbooks_; })},
         {L"ActiveSheet", giving([this]() -> FakeObject& { return worksheet(active(), 0); })},
         {L"Range",
          [this](const Record& call, VARIANT* result) {
              return AnswerObject(result, range(resolve(Required(call, 0).text(), active(), 0)));
          }},
         {L"InputBox",
          [this](const Record& call, VARIANT* result) { return inputBox(call, result); }},
         {L"Visible", setting(L"Visible")},
         {L"DisplayAlerts", setting(L"DisplayAlerts")},
         {L"AutomationSecurity", setting(L"AutomationSecurity")},
         {L"UserControl", setting(L"UserControl")},
         {L"Quit", [](const Record&, VARIANT*) { return S_OK; }}});
    answerWith(
        workbooks_,
        {{L"Open", [this](const Record& call,
                          VARIANT* result) { return open(Required(call, 0).text(), result); }},
         {L"Count",
          [this](const Record&, VARIANT* result) {
              return AnswerInt(result, static_cast<std::int32_t>(open_.size()));
          }},
         {L"Item", [this](const Record& call, VARIANT* result) {
              const auto index = static_cast<std::size_t>(Required(call, 0).int32());
              if (index < 1 || index > open_.size()) {
                  throw std::out_of_range("Subscript out of range");
              }
              return AnswerObject(result, workbook(*open_[index - 1]));
          }}});
}

void FakeExcelModel::addFile(const fs::path& path, memory_sheet::Book book) {
    const std::size_t sheetCount = book.sheets.size();
    files_.push_back(
        {path,
         {std::move(book), std::vector<std::map<memory_sheet::Cell, std::uint32_t>>(sheetCount)}});
}

FakeObject& FakeExcelModel::make(Members members) {
    FakeObject& object = objects_.emplace_back();
    answerWith(object, std::move(members));
    return object;
}

void FakeExcelModel::answerWith(FakeObject& object, Members members) {
    object.answer = [members = std::move(members)](const Record& call, VARIANT* result,
                                                   EXCEPINFO* exception) -> HRESULT {
        const auto member = members.find(call.member);
        if (member == members.end()) {
            return DISP_E_MEMBERNOTFOUND;
        }
        try {
            return member->second(call, result);
        } catch (const std::exception& e) {
            return AnswerFailure(exception, WideOf(e.what()).c_str());
        }
    };
}

FakeExcelModel::Member FakeExcelModel::giving(std::function<FakeObject&()> object) {
    return [object = std::move(object)](const Record&, VARIANT* result) {
        return AnswerObject(result, object());
    };
}

FakeExcelModel::Member FakeExcelModel::setting(const std::wstring& name) {
    return [this, name](const Record& call, VARIANT* result) {
        if (call.flags == DISPATCH_PROPERTYPUT) {
            settings_[name] = PutValue(call);
            return S_OK;
        }
        return VariantCopy(result, sheet::excel::Source(settings_[name].get()));
    };
}

FakeObject& FakeExcelModel::counted(std::int32_t count) {
    return make(
        {{L"Count", [count](const Record&, VARIANT* result) { return AnswerInt(result, count); }}});
}

FakeObject& FakeExcelModel::workbook(OpenBook& book) {
    return make({
        {L"Sheets", giving([this, &book]() -> FakeObject& { return sheets(book); })},
        {L"Name",
         [&book](const Record&, VARIANT* result) {
             return AnswerText(result, WideOf(book.name).c_str());
         }},
        {L"FileFormat",
         [&book](const Record&, VARIANT* result) {
             return AnswerInt(result, sheet::excel::FileFormatFor(book.name));
         }},
        {L"SaveCopyAs",
         [this, &book](const Record& call, VARIANT*) {
             save(book, Required(call, 0).text());
             return S_OK;
         }},
        {L"SaveAs",
         [this, &book](const Record& call, VARIANT*) {
             const std::string path = Required(call, 0).text();
             save(book, path);
             book.name = FileNameOf(fs::path(WideOf(path)));
             return S_OK;
         }},
        {L"Close",
         [this, &book](const Record&, VARIANT*) {
             std::erase(open_, &book);
             return S_OK;
         }},
    });
}

FakeObject& FakeExcelModel::sheets(OpenBook& book) {
    auto& all = book.contents.book.sheets;
    return make({
        {L"Count",
         [&all](const Record&, VARIANT* result) {
             return AnswerInt(result, static_cast<std::int32_t>(all.size()));
         }},
        {L"Item",
         [this, &book, &all](const Record& call, VARIANT* result) {
             const Variant which = Required(call, 0);
             const std::size_t index = which.type() == VT_BSTR
                                           ? IndexOf(book.contents.book, which.text())
                                           : static_cast<std::size_t>(which.int32() - 1);
             if (index >= all.size()) {
                 throw std::out_of_range("Subscript out of range");
             }
             return AnswerObject(result, worksheet(book, index));
         }},
    });
}

FakeObject& FakeExcelModel::worksheet(OpenBook& book, std::size_t sheet) {
    const memory_sheet::Sheet& content = book.contents.book.sheets.at(sheet);
    const dupes::BlockGeometry whole{1, 1, kLimits.rows, kLimits.columns};
    return make({
        {L"Name",
         [&content](const Record&, VARIANT* result) {
             return AnswerText(result, WideOf(content.name).c_str());
         }},
        {L"Index",
         [sheet](const Record&, VARIANT* result) {
             return AnswerInt(result, static_cast<std::int32_t>(sheet + 1));
         }},
        {L"Range",
         [this, &book, sheet](const Record& call, VARIANT* result) {
             return AnswerObject(result, range(resolve(Required(call, 0).text(), book, sheet)));
         }},
        {L"Cells", giving([this, &book, sheet, whole]() -> FakeObject& {
             return range({&book, sheet, {whole}});
         })},
        // An empty sheet's used range is its first cell.
        {L"UsedRange", giving([this, &book, &content, sheet]() -> FakeObject& {
             return range(
                 {&book, sheet, {content.usedArea().value_or(dupes::BlockGeometry{1, 1, 1, 1})}});
         })},
        {L"Rows", giving([this]() -> FakeObject& { return counted(kLimits.rows); })},
        {L"Columns", giving([this]() -> FakeObject& { return counted(kLimits.columns); })},
    });
}

FakeObject& FakeExcelModel::range(const Cells& cells) {
    const dupes::BlockGeometry first = cells.areas.at(0);
    const auto text = [cells] {
        const auto [row, column] = OneCell(cells.areas);
        return cells.book->contents.book.sheets.at(cells.sheet).text(row, column);
    };
    return make({
        // Excel's default: absolute, A1 style, without the sheet.
        {L"Address",
         [cells](const Record& call, VARIANT* result) {
             if (!call.arguments.empty()) {
                 return DISP_E_BADPARAMCOUNT; // the backend passes none: a change would show here
             }
             return AnswerText(result, WideOf(sheet::FormatAddress(cells.areas, kLimits)).c_str());
         }},
        {L"Areas", giving([this, cells]() -> FakeObject& { return areas(cells); })},
        {L"Row",
         [first](const Record&, VARIANT* result) { return AnswerInt(result, first.firstRow); }},
        {L"Column",
         [first](const Record&, VARIANT* result) { return AnswerInt(result, first.firstColumn); }},
        {L"Rows", giving([this, first]() -> FakeObject& {
             return counted(first.lastRow - first.firstRow + 1);
         })},
        {L"Columns", giving([this, first]() -> FakeObject& {
             return counted(first.lastColumn - first.firstColumn + 1);
         })},
        {L"Worksheet",
         giving([this, cells]() -> FakeObject& { return worksheet(*cells.book, cells.sheet); })},
        {L"Cells", giving([this, cells]() -> FakeObject& { return range(cells); })},
        // Item(row, column), counted from the range's first cell.
        {L"Item",
         [this, cells, first](const Record& call, VARIANT* result) {
             const std::int32_t row = first.firstRow + Required(call, 0).int32() - 1;
             const std::int32_t column = first.firstColumn + Required(call, 1).int32() - 1;
             return AnswerObject(result,
                                 range({cells.book, cells.sheet, {{row, column, row, column}}}));
         }},
        {L"Text", [text](const Record&,
                         VARIANT* result) { return AnswerText(result, WideOf(text()).c_str()); }},
        // The contract book holds texts only; an empty cell's value is Empty.
        {L"Value",
         [text](const Record&, VARIANT* result) {
             const std::string value = text();
             return value.empty() ? S_OK : AnswerText(result, WideOf(value).c_str());
         }},
        {L"Interior", giving([this, cells]() -> FakeObject& { return interior(cells); })},
    });
}

FakeObject& FakeExcelModel::areas(const Cells& cells) {
    return make({
        {L"Count",
         [cells](const Record&, VARIANT* result) {
             return AnswerInt(result, static_cast<std::int32_t>(cells.areas.size()));
         }},
        {L"Item",
         [this, cells](const Record& call, VARIANT* result) {
             const auto index = static_cast<std::size_t>(Required(call, 0).int32());
             if (index < 1 || index > cells.areas.size()) {
                 throw std::out_of_range("Subscript out of range");
             }
             return AnswerObject(result,
                                 range({cells.book, cells.sheet, {cells.areas[index - 1]}}));
         }},
    });
}

FakeObject& FakeExcelModel::interior(const Cells& cells) {
    auto& fills = cells.book->contents.fills.at(cells.sheet);
    const auto fill = [&fills, cells]() -> std::optional<std::uint32_t> {
        const auto found = fills.find(OneCell(cells.areas));
        return found == fills.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
    };
    return make({
        {L"Color",
         [&fills, cells, fill](const Record& call, VARIANT* result) {
             if (call.flags != DISPATCH_PROPERTYPUT) {
                 return AnswerNumber(result, fill() ? *fill() : kWhite);
             }
             const auto colour = static_cast<std::uint32_t>(PutValue(call).int32());
             for (const auto& area : cells.areas) {
                 for (std::int32_t row = area.firstRow; row <= area.lastRow; ++row) {
                     for (std::int32_t column = area.firstColumn; column <= area.lastColumn;
                          ++column) {
                         fills[{row, column}] = colour;
                     }
                 }
             }
             return S_OK;
         }},
        {L"ColorIndex",
         [fill](const Record&, VARIANT* result) {
             return AnswerInt(result, fill() ? kSomeFill : kNoFill);
         }},
    });
}

HRESULT FakeExcelModel::open(const std::string& path, VARIANT* result) {
    const fs::path file(WideOf(path));
    for (const auto& [known, contents] : files_) {
        std::error_code error;
        if (fs::equivalent(known, file, error)) {
            OpenBook& book = books_.emplace_back(OpenBook{FileNameOf(file), contents});
            open_.push_back(&book);
            return AnswerObject(result, workbook(book));
        }
    }
    throw std::invalid_argument("Sorry, we couldn't find " + path +
                                ". Is it possible it was moved, renamed or deleted?");
}

HRESULT FakeExcelModel::inputBox(const Record& call, VARIANT* result) {
    if (Required(call, 7).int32() != kCellReference) {
        throw std::invalid_argument(
            "The stand-in for Excel's input box answers cell references only.");
    }
    const auto initial = Argument(call, 2);
    const auto answer =
        person_ ? person_(initial ? BlockTextOf(initial->text()) : "") : std::nullopt;
    if (!answer) {
        result->vt = VT_BOOL; // Cancel answers False
        result->boolVal = VARIANT_FALSE;
        return S_OK;
    }
    return AnswerObject(result, range(resolve(*answer, active(), 0)));
}

void FakeExcelModel::save(const OpenBook& book, const std::string& path) {
    const fs::path file(WideOf(path));
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!(out << "A workbook saved by the stand-in for Excel\n")) {
        throw std::runtime_error("Cannot access '" + path + "'.");
    }
    files_.push_back({file, book.contents});
}

FakeExcelModel::Cells FakeExcelModel::resolve(const std::string& reference, OpenBook& book,
                                              std::size_t sheet) const {
    const auto parsed = ParseReference(reference);
    if (parsed.sheetName) {
        sheet = IndexOf(book.contents.book, *parsed.sheetName);
        if (sheet == book.contents.book.sheets.size()) {
            throw std::invalid_argument("Method 'Range' of object '_Global' failed");
        }
    }
    return {&book, sheet, parsed.areas};
}

FakeExcelModel::OpenBook& FakeExcelModel::active() const {
    if (open_.empty()) {
        throw std::logic_error("Method 'Range' of object '_Global' failed");
    }
    return *open_.back();
}

} // namespace fake
