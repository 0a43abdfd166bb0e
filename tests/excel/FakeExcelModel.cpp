#include "FakeExcelModel.h"

#include "sheet/BlockText.h"
#include "sheet/excel/FileFormat.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <stdexcept>

namespace fake {
namespace {

namespace fs = std::filesystem;
using Record = FakeObject::Record;
using memory_sheet::Content;
using sheet::excel::WideOf;

const sheet::SheetLimits kLimits{};
constexpr std::int32_t kCellReference = 8; // InputBox Type
constexpr std::int32_t kXls = 56;          // xlExcel8, whose sheets are smaller
const sheet::SheetLimits kXlsLimits{65536, 256};

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

// Workbook.FileFormat by the file's name: a new workbook, which has none
// yet, is in the default format.
std::int32_t FileFormatOf(const std::string& name) {
    const std::string extension = fs::path(name).extension().string();
    if (extension.empty()) {
        return 51; // xlOpenXMLWorkbook
    }
    return extension == ".csv" ? 6 : sheet::excel::FileFormatFor(name); // xlCSV
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

const dupes::BlockGeometry& OneArea(const std::vector<dupes::BlockGeometry>& areas) {
    if (areas.size() != 1) {
        throw std::invalid_argument("The stand-in for Excel reads one area at a time.");
    }
    return areas[0];
}

// Text is read cell by cell by the backend, so only a single cell's is
// answered (Excel answers Null for cells that show different texts).
memory_sheet::Cell OneCell(const std::vector<dupes::BlockGeometry>& areas) {
    const auto& area = OneArea(areas);
    if (area.firstRow != area.lastRow || area.firstColumn != area.lastColumn) {
        throw std::invalid_argument("The stand-in for Excel reads Text of single cells only.");
    }
    return {area.firstRow, area.firstColumn};
}

// A cell's Value2: its text, its number (a date as its serial, as Value2 has
// no dates), its error as CVErr gives it (0x800A07D7 for #DIV/0!), or Empty.
void PutValue2(const memory_sheet::Sheet& sheet, memory_sheet::Cell cell, VARIANT* out) {
    VariantInit(out);
    const auto content = sheet.contents.find(cell);
    if (content == sheet.contents.end()) {
        const std::string text = sheet.text(cell.first, cell.second);
        if (!text.empty()) {
            AnswerText(out, WideOf(text).c_str());
        }
        return;
    }
    switch (content->second.kind) {
    case Content::Kind::Text:
        if (!content->second.text.empty()) {
            AnswerText(out, WideOf(content->second.text).c_str());
        }
        return;
    case Content::Kind::Number:
        AnswerNumber(out, content->second.number);
        return;
    case Content::Kind::Error:
        out->vt = VT_ERROR;
        out->scode =
            static_cast<SCODE>(0x800A0000u | static_cast<std::uint32_t>(content->second.error));
        return;
    }
}

// Value2 of one area: a single cell's value alone, or else a 2-D SAFEARRAY
// of VARIANTs indexed (row, column) from 1, as Range.Value2 answers.
HRESULT AnswerValue2(const memory_sheet::Sheet& sheet, const dupes::BlockGeometry& area,
                     VARIANT* result) {
    if (area.firstRow == area.lastRow && area.firstColumn == area.lastColumn) {
        PutValue2(sheet, {area.firstRow, area.firstColumn}, result);
        return S_OK;
    }
    SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(area.lastRow - area.firstRow + 1), 1},
                                {static_cast<ULONG>(area.lastColumn - area.firstColumn + 1), 1}};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
    if (array == nullptr) {
        return E_OUTOFMEMORY;
    }
    for (std::int32_t row = area.firstRow; row <= area.lastRow; ++row) {
        for (std::int32_t column = area.firstColumn; column <= area.lastColumn; ++column) {
            Variant value;
            PutValue2(sheet, {row, column}, value.put());
            LONG at[2] = {row - area.firstRow + 1, column - area.firstColumn + 1};
            SafeArrayPutElement(array, at, const_cast<VARIANT*>(&value.get()));
        }
    }
    result->vt = VT_ARRAY | VT_VARIANT;
    result->parray = array;
    return S_OK;
}

// NumberFormat of one area: the format its cells share, or Null when they
// differ. A cell without content is in General.
HRESULT AnswerNumberFormat(const memory_sheet::Sheet& sheet, const dupes::BlockGeometry& area,
                           VARIANT* result) {
    std::set<std::string> formats;
    std::int64_t formatted = 0;
    const auto end = sheet.contents.lower_bound({area.lastRow + 1, 0});
    for (auto it = sheet.contents.lower_bound({area.firstRow, 0}); it != end; ++it) {
        if (it->first.second >= area.firstColumn && it->first.second <= area.lastColumn) {
            formats.insert(it->second.format);
            ++formatted;
        }
    }
    const std::int64_t cells =
        std::int64_t{area.lastRow - area.firstRow + 1} * (area.lastColumn - area.firstColumn + 1);
    if (formatted < cells) {
        formats.insert("General");
    }
    if (formats.size() != 1) {
        result->vt = VT_NULL;
        return S_OK;
    }
    return AnswerText(result, WideOf(*formats.begin()).c_str());
}

} // namespace

StandInFile::StandInFile(const std::string& name) : path_(fs::temp_directory_path() / name) {
    std::ofstream(path_) << "read by the stand-in for Excel only";
}

StandInFile::~StandInFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

FakeExcelModel::FakeExcelModel(Person person) : person_(std::move(person)) {
    // Only its process and thread are asked of it, and a message-only window
    // needs no display.
    ownWindow_ = CreateWindowExW(0, L"STATIC", L"Excel stand-in", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, nullptr, nullptr);
    window = ownWindow_;
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
         // A Long: window handles keep to 32 bits, also in a 64-bit Excel.
         {L"Hwnd",
          [this](const Record&, VARIANT* result) {
              return AnswerInt(result,
                               static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window)));
          }},
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

FakeExcelModel::~FakeExcelModel() {
    if (ownWindow_ != nullptr) {
        DestroyWindow(ownWindow_);
    }
}

void FakeExcelModel::addFile(const fs::path& path, memory_sheet::Book book) {
    const std::size_t sheetCount = book.sheets.size();
    files_.push_back(
        {path,
         {std::move(book), std::vector<std::map<memory_sheet::Cell, std::uint32_t>>(sheetCount)}});
}

std::optional<std::uint32_t> FakeExcelModel::fillOf(const std::string& sheetName, std::int32_t row,
                                                    std::int32_t column) const {
    const Contents& contents = books_.at(0).contents;
    const auto& fills = contents.fills.at(IndexOf(contents.book, sheetName));
    const auto found = fills.find({row, column});
    return found == fills.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
}

bool FakeExcelModel::allReleased() const {
    return log_.live == 0 && application_.references == 1 && workbooks_.references == 1;
}

FakeObject& FakeExcelModel::make(std::string label, Members members) {
    FakeObject& object = FakeObject::Transient(std::move(label), log_);
    answerWith(object, std::move(members));
    return object;
}

void FakeExcelModel::answerWith(FakeObject& object, Members members) {
    object.answer = [this, members = std::move(members)](const Record& call, VARIANT* result,
                                                         EXCEPINFO* exception) -> HRESULT {
        const auto refused = refusals.find(call.member);
        if (refused != refusals.end()) {
            return refused->second;
        }
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

FakeObject& FakeExcelModel::counted(std::string label, std::int32_t count) {
    return make(std::move(label), {{L"Count", [count](const Record&, VARIANT* result) {
                                        return AnswerInt(result, count);
                                    }}});
}

FakeObject& FakeExcelModel::workbook(OpenBook& book) {
    return make(&book == &books_.front() ? "Workbook" : "Copy",
                {
                    {L"Sheets", giving([this, &book]() -> FakeObject& { return sheets(book); })},
                    {L"Name",
                     [&book](const Record&, VARIANT* result) {
                         return AnswerText(result, WideOf(book.name).c_str());
                     }},
                    {L"FileFormat",
                     [&book](const Record&, VARIANT* result) {
                         return AnswerInt(result, FileFormatOf(book.name));
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
    return make("Sheets", {
                              {L"Count",
                               [&all](const Record&, VARIANT* result) {
                                   return AnswerInt(result, static_cast<std::int32_t>(all.size()));
                               }},
                              {L"Item",
                               [this, &book, &all](const Record& call, VARIANT* result) {
                                   const Variant which = Required(call, 0);
                                   const std::size_t index =
                                       which.type() == VT_BSTR
                                           ? IndexOf(book.contents.book, which.text())
                                           : static_cast<std::size_t>(which.int32() - 1);
                                   if (index >= all.size()) {
                                       throw std::out_of_range("Subscript out of range");
                                   }
                                   return AnswerObject(result, worksheet(book, index));
                               }},
                              // With no place given, into a new workbook, which Excel names
                              // BookN and opens last.
                              {L"Copy",
                               [this, &book](const Record&, VARIANT*) {
                                   openBook("Book" + std::to_string(books_.size()), book.contents);
                                   return S_OK;
                               }},
                          });
}

FakeObject& FakeExcelModel::worksheet(OpenBook& book, std::size_t sheet) {
    const memory_sheet::Sheet& content = book.contents.book.sheets.at(sheet);
    const sheet::SheetLimits limits = FileFormatOf(book.name) == kXls ? kXlsLimits : kLimits;
    const dupes::BlockGeometry whole{1, 1, limits.rows, limits.columns};
    return make(
        "Worksheet",
        {
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
                 return range({&book,
                               sheet,
                               {content.usedArea().value_or(dupes::BlockGeometry{1, 1, 1, 1})}});
             })},
            {L"Rows",
             giving([this, limits]() -> FakeObject& { return counted("Rows", limits.rows); })},
            {L"Columns", giving([this, limits]() -> FakeObject& {
                 return counted("Columns", limits.columns);
             })},
        });
}

FakeObject& FakeExcelModel::range(const Cells& cells) {
    const dupes::BlockGeometry first = cells.areas.at(0);
    const memory_sheet::Sheet& sheet = cells.book->contents.book.sheets.at(cells.sheet);
    return make(
        "Range",
        {
            // Excel's default: absolute, A1 style, without the sheet.
            {L"Address",
             [cells](const Record& call, VARIANT* result) {
                 if (!call.arguments.empty()) {
                     return DISP_E_BADPARAMCOUNT; // the backend passes none: a change would show
                                                  // here
                 }
                 return AnswerText(result,
                                   WideOf(sheet::FormatAddress(cells.areas, kLimits)).c_str());
             }},
            {L"Areas", giving([this, cells]() -> FakeObject& { return areas(cells); })},
            {L"Row",
             [first](const Record&, VARIANT* result) { return AnswerInt(result, first.firstRow); }},
            {L"Column", [first](const Record&,
                                VARIANT* result) { return AnswerInt(result, first.firstColumn); }},
            {L"Rows", giving([this, first]() -> FakeObject& {
                 return counted("Rows", first.lastRow - first.firstRow + 1);
             })},
            {L"Columns", giving([this, first]() -> FakeObject& {
                 return counted("Columns", first.lastColumn - first.firstColumn + 1);
             })},
            {L"Worksheet", giving([this, cells]() -> FakeObject& {
                 return worksheet(*cells.book, cells.sheet);
             })},
            {L"Cells", giving([this, cells]() -> FakeObject& { return range(cells); })},
            // Item(row, column), counted from the range's first cell.
            {L"Item",
             [this, cells, first](const Record& call, VARIANT* result) {
                 const std::int32_t row = first.firstRow + Required(call, 0).int32() - 1;
                 const std::int32_t column = first.firstColumn + Required(call, 1).int32() - 1;
                 return AnswerObject(
                     result, range({cells.book, cells.sheet, {{row, column, row, column}}}));
             }},
            {L"Text",
             [&sheet, cells](const Record&, VARIANT* result) {
                 const auto [row, column] = OneCell(cells.areas);
                 return AnswerText(result, WideOf(sheet.text(row, column)).c_str());
             }},
            {L"Value2",
             [&sheet, cells](const Record&, VARIANT* result) {
                 return AnswerValue2(sheet, OneArea(cells.areas), result);
             }},
            // Like Value2 here: Excel's Value would give a Date or a Currency
            // for a cell so formatted, and the header cells read are texts.
            {L"Value",
             [&sheet, cells](const Record&, VARIANT* result) {
                 const auto cell = OneCell(cells.areas);
                 return AnswerValue2(sheet, {cell.first, cell.second, cell.first, cell.second},
                                     result);
             }},
            {L"NumberFormat",
             [&sheet, cells](const Record&, VARIANT* result) {
                 return AnswerNumberFormat(sheet, OneArea(cells.areas), result);
             }},
            {L"Interior", giving([this, cells]() -> FakeObject& { return interior(cells); })},
        });
}

FakeObject& FakeExcelModel::areas(const Cells& cells) {
    return make("Areas",
                {
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
                         return AnswerObject(
                             result, range({cells.book, cells.sheet, {cells.areas[index - 1]}}));
                     }},
                });
}

FakeObject& FakeExcelModel::interior(const Cells& cells) {
    auto& fills = cells.book->contents.fills.at(cells.sheet);
    return make("Interior",
                {{L"Color", [&fills, cells](const Record& call, VARIANT*) {
                      if (call.flags != DISPATCH_PROPERTYPUT) {
                          return DISP_E_MEMBERNOTFOUND; // the backend never reads fills
                      }
                      const auto colour = static_cast<std::uint32_t>(PutValue(call).int32());
                      for (const auto& area : cells.areas) {
                          for (std::int32_t row = area.firstRow; row <= area.lastRow; ++row) {
                              for (std::int32_t column = area.firstColumn;
                                   column <= area.lastColumn; ++column) {
                                  fills[{row, column}] = colour;
                              }
                          }
                      }
                      return S_OK;
                  }}});
}

FakeExcelModel::OpenBook& FakeExcelModel::openBook(std::string name, Contents contents) {
    OpenBook& book = books_.emplace_back(OpenBook{std::move(name), std::move(contents)});
    open_.push_back(&book);
    return book;
}

HRESULT FakeExcelModel::open(const std::string& path, VARIANT* result) {
    const fs::path file(WideOf(path));
    for (const auto& [known, contents] : files_) {
        std::error_code error;
        if (fs::equivalent(known, file, error)) {
            return AnswerObject(result, workbook(openBook(FileNameOf(file), contents)));
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
