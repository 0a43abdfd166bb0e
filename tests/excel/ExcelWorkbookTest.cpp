// The Excel backend's workbook against a stand-in for Excel's object model,
// on Windows (under Wine here): which members it calls in which order with
// which arguments, what it makes of the answers, and that every reference
// it was handed is released, on failure too.

#include "Check.h"
#include "FakeDispatch.h"

#include "sheet/FileErrors.h"
#include "sheet/SheetError.h"
#include "sheet/excel/ExcelAddress.h"
#include "sheet/ThreadBoundWorkbook.h"
#include "sheet/excel/ExcelWorkbook.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <map>

using fake::AnswerFailure;
using fake::AnswerInt;
using fake::AnswerNumber;
using fake::AnswerObject;
using fake::AnswerText;
using fake::FakeObject;
using sheet::excel::Dispatch;
using sheet::excel::ExcelWorkbook;
using sheet::excel::Variant;

namespace {

using Record = FakeObject::Record;

std::wstring WideText(const Variant& value) {
    return value.type() == VT_BSTR ? std::wstring(value.get().bstrVal, SysStringLen(value.get().bstrVal))
                                   : std::wstring();
}

// Excel's object model as far as the backend uses it: one workbook with one
// worksheet, "My Data", and a block C5:F9 that Application.Range and the
// input box answer.
class FakeExcel {
public:
    std::vector<std::string> journal;

    // What the stand-in answers; tests change these before the calls.
    std::wstring openFailure;        // Workbooks.Open fails with this, when set
    std::int32_t fileFormat = 51;    // xlOpenXMLWorkbook
    std::int32_t sheetRows = 1048576;
    std::function<HRESULT(VARIANT*)> inputBox;
    std::map<std::pair<std::int32_t, std::int32_t>, std::wstring> texts;
    std::map<std::int32_t, std::function<void(VARIANT*)>> headerValues; // by block column
    std::int32_t colorIndex = -4142;
    double color = 0;

    FakeExcel() {
        application_.answer = [this](const Record& call, VARIANT* result, EXCEPINFO* exception) {
            if (call.member == L"Workbooks") {
                return AnswerObject(result, workbooks_);
            }
            if (call.member == L"Range") {
                return AnswerObject(result, block_);
            }
            if (call.member == L"ActiveSheet") {
                return AnswerObject(result, sheet_);
            }
            if (call.member == L"InputBox") {
                return inputBox ? inputBox(result) : AnswerObject(result, block_);
            }
            static_cast<void>(exception);
            return S_OK;
        };
        workbooks_.answer = [this](const Record& call, VARIANT* result, EXCEPINFO* exception) {
            if (call.member == L"Open") {
                if (!openFailure.empty()) {
                    return AnswerFailure(exception, openFailure.c_str());
                }
                books_.push_back(&make(books_.empty() ? "Workbook" : "Copy", bookAnswer()));
                return AnswerObject(result, *books_.back());
            }
            if (call.member == L"Count") {
                return AnswerInt(result, static_cast<std::int32_t>(books_.size()));
            }
            if (call.member == L"Item") {
                const auto index = static_cast<std::size_t>(call.arguments.at(0).int32());
                return AnswerObject(result, *books_.at(index - 1));
            }
            return S_OK;
        };
        sheets_.answer = [this](const Record& call, VARIANT* result, EXCEPINFO* exception) {
            if (call.member == L"Item") {
                const Variant& which = call.arguments.at(0);
                if ((which.type() == VT_BSTR && WideText(which) == L"My Data") ||
                    (which.type() == VT_I4 && which.int32() == 1)) {
                    return AnswerObject(result, sheet_);
                }
                return AnswerFailure(exception, L"Subscript out of range");
            }
            if (call.member == L"Copy") {
                books_.push_back(&make("Copy", bookAnswer()));
            }
            return S_OK;
        };
        sheet_.answer = [this](const Record& call, VARIANT* result, EXCEPINFO*) {
            if (call.member == L"Name") {
                return AnswerText(result, L"My Data");
            }
            if (call.member == L"Index") {
                return AnswerInt(result, 1);
            }
            if (call.member == L"Cells") {
                return AnswerObject(result, make("Cells", cellsAnswer()));
            }
            if (call.member == L"Rows") {
                return AnswerObject(result, counted("Rows", sheetRows));
            }
            if (call.member == L"Columns") {
                return AnswerObject(result, counted("Columns", 16384));
            }
            if (call.member == L"Range") {
                return AnswerObject(result, make("Range", rangeAnswer(WideText(call.arguments.at(0)))));
            }
            if (call.member == L"UsedRange") {
                return AnswerObject(result, block_); // the data fills C5:F9
            }
            return S_OK;
        };
        block_.answer = [this](const Record& call, VARIANT* result, EXCEPINFO*) {
            if (call.member == L"Worksheet") {
                return AnswerObject(result, sheet_);
            }
            if (call.member == L"Areas") {
                return AnswerObject(result, areas_);
            }
            return S_OK;
        };
        areas_.answer = [this](const Record& call, VARIANT* result, EXCEPINFO*) {
            if (call.member == L"Count") {
                return AnswerInt(result, 1);
            }
            return AnswerObject(result, area_);
        };
        area_.answer = [this](const Record& call, VARIANT* result, EXCEPINFO*) {
            if (call.member == L"Row") {
                return AnswerInt(result, 5);
            }
            if (call.member == L"Column") {
                return AnswerInt(result, 3);
            }
            if (call.member == L"Rows") {
                return AnswerObject(result, counted("Rows", 5));
            }
            return AnswerObject(result, counted("Columns", 4));
        };
    }

    Dispatch start() { return application_.reference(); }

    // Every reference handed out came back.
    bool allReleased() const {
        const auto released = [](const FakeObject& o) { return o.references == 1; };
        return std::all_of(objects_.begin(), objects_.end(), released) && released(application_) &&
               released(workbooks_) && released(sheets_) && released(sheet_) && released(block_) &&
               released(areas_) && released(area_);
    }

    std::size_t count(const std::string& prefix) const {
        return static_cast<std::size_t>(std::count_if(journal.begin(), journal.end(), [&](const std::string& line) {
            return line.rfind(prefix, 0) == 0;
        }));
    }
    bool has(const std::string& line) const {
        return std::find(journal.begin(), journal.end(), line) != journal.end();
    }

private:
    FakeObject& make(const std::string& label, FakeObject::Answer answer) {
        objects_.emplace_back(label, &journal);
        objects_.back().answer = std::move(answer);
        return objects_.back();
    }
    FakeObject& counted(const std::string& label, std::int32_t count) {
        return make(label, [count](const Record&, VARIANT* result, EXCEPINFO*) { return AnswerInt(result, count); });
    }
    FakeObject::Answer bookAnswer() {
        return [this](const Record& call, VARIANT* result, EXCEPINFO*) {
            if (call.member == L"Sheets") {
                return AnswerObject(result, sheets_);
            }
            if (call.member == L"FileFormat") {
                return AnswerInt(result, fileFormat);
            }
            if (call.member == L"Name") {
                return AnswerText(result, fileFormat == 6 ? L"book.csv" : L"book.xlsx");
            }
            if (call.member == L"SaveCopyAs" || call.member == L"SaveAs") {
                // Excel leaves a file where it was told to save.
                std::ofstream(std::filesystem::path(sheet::excel::WideOf(call.arguments.back().text())))
                    << "saved";
            }
            return S_OK;
        };
    }
    FakeObject::Answer interiorAnswer() {
        return [this](const Record& call, VARIANT* result, EXCEPINFO*) {
            if (call.member == L"ColorIndex" && call.flags != DISPATCH_PROPERTYPUT) {
                return AnswerInt(result, colorIndex);
            }
            if (call.member == L"Color" && call.flags != DISPATCH_PROPERTYPUT) {
                return AnswerNumber(result, color);
            }
            return S_OK;
        };
    }
    FakeObject::Answer cellAnswer(std::int32_t row, std::int32_t column) {
        return [this, row, column](const Record& call, VARIANT* result, EXCEPINFO*) {
            if (call.member == L"Text") {
                const auto text = texts.find({row, column});
                return AnswerText(result, text == texts.end() ? L"" : text->second.c_str());
            }
            if (call.member == L"Value") {
                const auto value = headerValues.find(column);
                if (value != headerValues.end()) {
                    value->second(result);
                }
                return S_OK;
            }
            if (call.member == L"Interior") {
                return AnswerObject(result, make("Interior", interiorAnswer()));
            }
            return S_OK;
        };
    }
    FakeObject::Answer cellsAnswer() {
        return [this](const Record& call, VARIANT* result, EXCEPINFO*) {
            // Item(row, column): DISPPARAMS holds the column first.
            const std::int32_t row = call.arguments.at(1).int32();
            const std::int32_t column = call.arguments.at(0).int32();
            return AnswerObject(result, make("Cell", cellAnswer(row, column)));
        };
    }
    FakeObject::Answer rangeAnswer(std::wstring address) {
        return [this, address](const Record& call, VARIANT* result, EXCEPINFO*) {
            if (call.member == L"Address") {
                return AnswerText(result, address.c_str());
            }
            if (call.member == L"Cells") {
                return AnswerObject(result, make("Cells", cellsAnswer()));
            }
            if (call.member == L"Interior") {
                return AnswerObject(result, make("Interior", interiorAnswer()));
            }
            return S_OK;
        };
    }

    FakeObject application_{"Application", &journal};
    FakeObject workbooks_{"Workbooks", &journal};
    FakeObject sheets_{"Sheets", &journal};
    FakeObject sheet_{"Worksheet", &journal};
    FakeObject block_{"Block", &journal};
    FakeObject areas_{"Areas", &journal};
    FakeObject area_{"Area", &journal};
    std::vector<FakeObject*> books_;
    std::deque<FakeObject> objects_; // made as asked for; a deque keeps their addresses
};

// A real file for the existence check; the stand-in never reads it.
struct Book {
    std::filesystem::path path;
    explicit Book(const std::string& name) : path(std::filesystem::temp_directory_path() / name) {
        std::ofstream(path) << "read by no one";
    }
    ~Book() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    std::string text() const { return path.string(); }
    std::string absolute() const { return std::filesystem::absolute(path).lexically_normal().string(); }
};

std::unique_ptr<ExcelWorkbook> Open(FakeExcel& excel, const Book& book,
                                    sheet::excel::ExcelOptions options = {}) {
    options.start = [&excel] { return excel.start(); };
    return std::make_unique<ExcelWorkbook>(options, book.text());
}

sheet::Block DataBlock() {
    sheet::Block block;
    block.sheetIndex = 0;
    block.sheetName = "My Data";
    block.areas = {dupes::BlockGeometry{5, 3, 9, 6}};
    return block;
}

// A workbook opened in a stand-in Excel.
struct Scene {
    FakeExcel excel;
    Book file;
    std::unique_ptr<ExcelWorkbook> workbook;

    explicit Scene(const std::string& name, sheet::excel::ExcelOptions options = {})
        : file(name), workbook(Open(excel, file, std::move(options))) {}

    // Closes the workbook; true when every reference Excel handed out came back.
    bool closedCleanly() {
        workbook.reset();
        return excel.allReleased();
    }
};

} // namespace

CHECK_CASE(OpensWithMacrosOffThenClosesWithoutSavingAndQuits) {
    FakeExcel excel;
    const Book book("vantrelo-fake-open.xlsx");
    auto workbook = Open(excel, book);
    const std::vector<std::string> opened{
        "Application.AutomationSecurity = 3", // before anything is opened
        "Application.DisplayAlerts = False",
        "Application.Workbooks",
        "Workbooks.Open(\"" + book.absolute() + "\")", // the path only
        "Application.Workbooks",
        "Workbooks.Count",
        "Workbooks.Item(1)", // Workbooks(Workbooks.Count)
    };
    CHECK(excel.journal == opened);
    workbook.reset();
    CHECK_EQ(excel.journal.size(), opened.size() + 2);
    CHECK_EQ(excel.journal.at(opened.size()), std::string("Workbook.Close(SaveChanges:=False)"));
    CHECK_EQ(excel.journal.back(), std::string("Application.Quit()"));
    CHECK_EQ(excel.count("Application.Visible"), std::size_t{0}); // left hidden
    CHECK(excel.allReleased());
}

CHECK_CASE(AWorkbookExcelCannotOpenEndsTheInstanceAndSaysWhy) {
    FakeExcel excel;
    excel.openFailure = L"Excel cannot open the file because the file format is not valid.";
    const Book book("vantrelo-fake-damaged.xlsx");
    CHECK_THROWS(Open(excel, book), sheet::SheetError,
                 "Excel could not open \"" + book.text() +
                     "\": Excel cannot open the file because the file format is not valid.");
    CHECK_EQ(excel.journal.back(), std::string("Application.Quit()"));
    CHECK_EQ(excel.count("Workbook.Close"), std::size_t{0});
    CHECK(excel.allReleased());
}

CHECK_CASE(FindsABlockThroughApplicationRange) {
    Scene s("vantrelo-fake-find.xlsx");
    const sheet::Block block = s.workbook->findBlock("My Data!$C$5:$F$9");
    CHECK(s.excel.has("Sheets.Item(\"My Data\")"));
    // Excel needs the sheet name quoted, as the block box does not write it.
    CHECK(s.excel.has("Application.Range(\"'My Data'!$C$5:$F$9\")"));
    CHECK_EQ(block.sheetName, std::string("My Data"));
    CHECK_EQ(block.sheetIndex, 0);
    CHECK((block.areas == std::vector<dupes::BlockGeometry>{dupes::BlockGeometry{5, 3, 9, 6}}));
    CHECK_THROWS(s.workbook->findBlock("Nope!$A$1"), sheet::SheetError,
                 "the workbook has no sheet named \"Nope\"");
    CHECK_THROWS(s.workbook->findBlock("My Data!C5:"), sheet::SheetError, "is not a cell address");
    CHECK(s.closedCleanly());
}

CHECK_CASE(ABlockBeyondTheSheetIsRefused) {
    Scene s("vantrelo-fake-xls.xls");
    s.excel.sheetRows = 65536; // an .xls sheet
    CHECK_THROWS(s.workbook->findBlock("My Data!$A$1:$B$70000"), sheet::SheetError,
                 "reaches beyond the sheet's last row or column");
    CHECK_EQ(s.excel.count("Application.Range"), std::size_t{0});
    CHECK(s.closedCleanly());
}

CHECK_CASE(NamesABlockWithExcelsOwnAddress) {
    Scene s("vantrelo-fake-name.xlsx");
    CHECK_EQ(s.workbook->name(DataBlock()), std::string("My Data!$C$5:$F$9"));
    CHECK(s.excel.has("Worksheet.Range(\"$C$5:$F$9\")"));
    CHECK(s.excel.has("Range.Address"));
    CHECK(s.excel.has("Worksheet.Name"));
    CHECK(s.closedCleanly());
}

CHECK_CASE(HeaderValuesAreValuesNotDisplays) {
    Scene s("vantrelo-fake-header.xlsx");
    s.excel.headerValues[1] = [](VARIANT* v) { AnswerText(v, L"Name"); };
    s.excel.headerValues[3] = [](VARIANT* v) { // 5 shown as currency
        v->vt = VT_CY;
        v->cyVal.int64 = 50000;
    };
    CHECK_EQ(s.workbook->headerValue(DataBlock(), 1), std::string("Name"));
    CHECK_EQ(s.workbook->headerValue(DataBlock(), 2), std::string()); // empty
    CHECK_EQ(s.workbook->headerValue(DataBlock(), 3), std::string("5"));
    // Range.Cells(1, i) of the block, counted within it.
    CHECK(s.excel.has("Worksheet.Range(\"$C$5:$F$9\")"));
    CHECK(s.excel.has("Cells.Item(1, 3)"));
    CHECK_EQ(s.excel.count("Cell.Value"), std::size_t{3});
    CHECK(s.closedCleanly());
}

CHECK_CASE(ReadsDisplayedTextsCellByCell) {
    Scene s("vantrelo-fake-read.xlsx");
    s.excel.texts[{6, 3}] = L"Ann";
    s.excel.texts[{6, 5}] = L"  Oslo ";
    s.excel.texts[{7, 3}] = L"Bo";
    s.excel.texts[{7, 5}] = L"Z\u00fcrich";
    auto& cells = s.workbook->cells(DataBlock());
    dupes::TextTable table;
    cells.readTexts(6, 2, {3, 5}, table);
    CHECK_EQ(table.size(), std::size_t{4});
    CHECK_EQ(std::string(table.cell(0)), std::string("Ann"));
    CHECK_EQ(std::string(table.cell(1)), std::string("  Oslo "));
    CHECK_EQ(std::string(table.cell(2)), std::string("Bo"));
    CHECK_EQ(std::string(table.cell(3)), std::string("Zürich"));
    CHECK_EQ(cells.cellText(6, 5), std::string("  Oslo "));
    CHECK(s.excel.has("Cells.Item(7, 5)"));
    CHECK_EQ(s.excel.count("Cell.Text"), std::size_t{5});
    CHECK(s.closedCleanly());
}

CHECK_CASE(ColoursUnionsOfSpansInFewRequests) {
    Scene s("vantrelo-fake-colour.xlsx");
    std::vector<dupes::CellSpan> spans;
    for (std::int32_t row = 2; row < 2000; row += 3) { // rows apart: one area each
        spans.push_back({row, 3, 6});
    }
    const auto groups = sheet::excel::UnionAddresses(spans);
    s.workbook->cells(DataBlock()).colourSpans(spans, 0x00FFFF); // yellow, red in the lowest byte
    CHECK_EQ(s.excel.count("Worksheet.Range(\""), groups.size());
    CHECK(s.excel.has("Worksheet.Range(\"" + groups.front() + "\")"));
    CHECK(s.excel.has("Worksheet.Range(\"" + groups.back() + "\")"));
    // One fill per group, in Excel's own colour order: no swap.
    CHECK_EQ(s.excel.count("Interior.Color = 65535"), groups.size());
    // Neighbouring rows of one width go as one area.
    s.workbook->cells(DataBlock()).colourSpans({{20, 3, 6}, {21, 3, 6}, {22, 3, 6}}, 0x00FFFF);
    CHECK(s.excel.has("Worksheet.Range(\"C20:F22\")"));
    s.workbook->cells(DataBlock()).colourSpans({{4, 2, 2}}, 0xFF0000); // blue
    CHECK(s.excel.has("Worksheet.Range(\"B4\")"));
    CHECK_EQ(s.excel.journal.back(), std::string("Interior.Color = 16711680"));
    CHECK(s.closedCleanly());
}

CHECK_CASE(ReadsACellsFill) {
    Scene s("vantrelo-fake-fill.xlsx");
    CHECK(!s.workbook->fillOf(DataBlock(), 5, 3).has_value()); // xlColorIndexNone
    s.excel.colorIndex = 6;
    s.excel.color = 65535;
    CHECK(s.workbook->fillOf(DataBlock(), 5, 3) == std::optional<std::uint32_t>(0x00FFFF));
    CHECK(s.closedCleanly());
}

CHECK_CASE(AsksForTheBlockWithExcelsInputBox) {
    Scene s("vantrelo-fake-ask.xlsx");
    int waited = 0;
    s.workbook->show();
    CHECK_EQ(s.excel.journal.back(), std::string("Application.Visible = True"));
    const sheet::Block block = s.workbook->askForBlock("Highlight a block of cells with mouse",
                                                     "My Data!$B$2:$E$40", [&] { ++waited; });
    // Prompt, no title, the default in Excel's notation, type 8: a Range.
    CHECK(s.excel.has("Application.InputBox(\"Highlight a block of cells with mouse\", , "
                    "\"'My Data'!$B$2:$E$40\", , , , , 8)"));
    CHECK_EQ(s.excel.count("Application.InputBox"), std::size_t{1});
    CHECK((block.areas == std::vector<dupes::BlockGeometry>{dupes::BlockGeometry{5, 3, 9, 6}}));
    CHECK_EQ(block.sheetName, std::string("My Data"));
    CHECK_EQ(waited, 0); // the input box call blocks
    // No default: the box starts empty.
    s.workbook->askForBlock("Highlight a block of cells with mouse", "", [] {});
    CHECK(s.excel.has("Application.InputBox(\"Highlight a block of cells with mouse\", , , , , , , 8)"));
    CHECK(s.closedCleanly());
}

CHECK_CASE(ACancelledOrAbandonedInputBoxCancelsTheChoice) {
    Scene s("vantrelo-fake-cancel.xlsx");
    s.excel.inputBox = [](VARIANT* result) {
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_FALSE; // Cancel
        return S_OK;
    };
    CHECK_THROWS(s.workbook->askForBlock("p", "", [] {}), sheet::BlockChoiceCancelled, "cancelled");
    s.excel.inputBox = [](VARIANT*) { return RPC_E_DISCONNECTED; }; // Excel closed meanwhile
    CHECK_THROWS(s.workbook->askForBlock("p", "", [] {}), sheet::BlockChoiceCancelled, "Excel was closed");
    CHECK(s.closedCleanly());
}

CHECK_CASE(TheTestSeamAnswersInsteadOfThePerson) {
    sheet::excel::ExcelOptions options;
    std::string offered;
    options.answerBlockChoice = [&](const std::string& defaultText) -> std::optional<std::string> {
        offered = defaultText;
        return "My Data!$C$5:$F$9";
    };
    Scene s("vantrelo-fake-seam.xlsx", options);
    const sheet::Block block = s.workbook->askForBlock("p", "My Data!$A$1", [] {});
    CHECK_EQ(offered, std::string("My Data!$A$1"));
    CHECK_EQ(s.excel.count("Application.InputBox"), std::size_t{0});
    CHECK((block.areas == std::vector<dupes::BlockGeometry>{dupes::BlockGeometry{5, 3, 9, 6}}));
    CHECK(s.closedCleanly());
}

CHECK_CASE(SavesACopyInTheSameFormatWithSaveCopyAs) {
    Scene s("vantrelo-fake-save.xlsx");
    const auto target = std::filesystem::temp_directory_path() / "vantrelo-fake-out.xlsx";
    std::filesystem::remove(target);
    s.workbook->saveCopyAs(target.string(), false, {});
    // Excel saves in the temporary folder; the finished file is then published.
    CHECK_EQ(s.excel.count("Workbook.SaveCopyAs(\"" + std::filesystem::temp_directory_path().string()), std::size_t{1});
    CHECK(std::filesystem::is_regular_file(target));
    CHECK_THROWS(s.workbook->saveCopyAs(target.string(), false, {}), sheet::FileError, "a file of that name is there already");
    std::filesystem::remove(target);
    CHECK_EQ(s.excel.count("Workbook.SaveAs"), std::size_t{0});
    CHECK_THROWS(s.workbook->saveCopyAs("out.csv", false, {}), sheet::SheetError, "choose a name ending in");
    CHECK(s.closedCleanly());
}

CHECK_CASE(SavesAnotherFormatThroughACopy) {
    Scene s("vantrelo-fake-convert.xlsx");
    const auto target = std::filesystem::temp_directory_path() / "vantrelo-fake-out.xls";
    s.workbook->saveCopyAs(target.string(), true, {});
    // A copy of the file in its own format, opened, saved as xlExcel8 (56), closed.
    const auto copy = std::find_if(s.excel.journal.begin(), s.excel.journal.end(), [](const std::string& line) {
        return line.rfind("Workbook.SaveCopyAs(", 0) == 0;
    });
    CHECK(copy != s.excel.journal.end());
    if (copy != s.excel.journal.end()) {
        const std::string temporary = copy->substr(std::string("Workbook.SaveCopyAs(").size());
        CHECK(temporary.find("vantrelo-copy-") != std::string::npos);
        CHECK(temporary.ends_with(".xlsx\")"));
        CHECK(s.excel.has("Workbooks.Open(" + temporary));
    }
    CHECK_EQ(s.excel.count("Copy.SaveAs(\"" + std::filesystem::temp_directory_path().string()), std::size_t{1});
    const auto saveAs = std::find_if(s.excel.journal.begin(), s.excel.journal.end(), [](const std::string& line) {
        return line.rfind("Copy.SaveAs(", 0) == 0;
    });
    CHECK(saveAs != s.excel.journal.end() && saveAs->ends_with(".xls\", 56)"));
    CHECK(std::filesystem::is_regular_file(target));
    CHECK_EQ(s.excel.journal.back(), std::string("Copy.Close(SaveChanges:=False)"));
    CHECK_EQ(s.excel.count("Workbook.SaveAs"), std::size_t{0}); // the open workbook keeps its name
    // A text workbook's copy would come back without fills: its sheets are copied instead.
    s.excel.fileFormat = 6; // xlCSV
    s.workbook->saveCopyAs(target.string(), true, {});
    CHECK(s.excel.has("Sheets.Copy()"));
    CHECK_EQ(s.excel.journal.back(), std::string("Copy.Close(SaveChanges:=False)"));
    CHECK(s.closedCleanly());
}

CHECK_CASE(HandsOverWithoutQuitting) {
    Scene s("vantrelo-fake-hand.xlsx");
    s.workbook->cells(DataBlock()).colourSpans({{5, 3, 3}}, 0x00FFFF);
    s.workbook->handOverToUser();
    CHECK(s.excel.has("Application.Visible = True"));
    CHECK_EQ(s.excel.journal.back(), std::string("Application.UserControl = True"));
    CHECK(s.excel.allReleased()); // released at the hand-over already
    const std::size_t before = s.excel.journal.size();
    s.workbook.reset();
    CHECK_EQ(s.excel.journal.size(), before); // no Close, no Quit
}

// Excel's objects answer only the thread that started Excel; the workbook
// refuses another thread's call in words before it reaches them, and the
// stand-in, like Excel, would refuse it too.
CHECK_CASE(CallsFromAnotherThreadAreRefused) {
    FakeExcel excel;
    const Book book("vantrelo-fake-thread.xlsx");
    auto bound = sheet::BindToThisThread(Open(excel, book));
    const auto fromAnotherThread = [](const std::function<void()>& call) {
        std::string message = "(nothing thrown)";
        std::thread([&] {
            try {
                call();
            } catch (const sheet::SheetError& e) {
                message = e.what();
            }
        }).join();
        return message;
    };
    const std::size_t before = excel.journal.size();
    CHECK(fromAnotherThread([&] { bound->findBlock("A1"); }).find("(findBlock) from a thread") !=
          std::string::npos);
    CHECK_EQ(excel.journal.size(), before); // Excel was never reached
    {
        const Dispatch application = excel.start();
        HRESULT answer = S_OK;
        std::thread([&] {
            VARIANT result;
            VariantInit(&result);
            DISPPARAMS none{};
            answer = application.get()->Invoke(0, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                               &result, nullptr, nullptr);
        }).join();
        CHECK(answer == RPC_E_WRONG_THREAD);
    }
    bound.reset();
    CHECK(excel.allReleased());
}

CHECK_CASE(WholeColumnsAreCutToTheUsedRange) {
    Scene s("vantrelo-fake-used.xlsx");
    sheet::Block columns = DataBlock();
    columns.areas = {dupes::BlockGeometry{1, 4, 1048576, 5}};
    CHECK(s.workbook->usedPart(columns).geometry() == (dupes::BlockGeometry{1, 4, 9, 5}));
    CHECK(s.excel.has("Worksheet.UsedRange"));
    CHECK(s.workbook->usedPart(DataBlock()).geometry() == DataBlock().geometry());
    CHECK(s.closedCleanly());
}
