// The Excel backend's COM layer, on Windows (under Wine here): VARIANTs to
// text, the arguments as IDispatch::Invoke gets them, references released,
// failures in words, and the start failing cleanly where Excel is missing.

#include "FakeDispatch.h"
#include "Thrown.h"

#include "sheet/SheetError.h"
#include "sheet/Spreadsheet.h"
#include "sheet/excel/CellValue.h"
#include "sheet/excel/Com.h"
#include "sheet/excel/VariantValue.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace sheet::excel;

using fake::AnswerInt;
using fake::AnswerObject;
using fake::FakeObject;

namespace {

std::string TextOf(VARIANT value) {
    const std::string text = CellValueAsText(CellValueOf(value));
    VariantClear(&value);
    return text;
}

VARIANT Raw(VARTYPE type) {
    VARIANT v;
    VariantInit(&v);
    v.vt = type;
    return v;
}

std::wstring Wide(const VARIANT& v) {
    return v.vt == VT_BSTR && v.bstrVal != nullptr
               ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal))
               : std::wstring(L"<not a text>");
}

HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* exception) {
    exception->bstrDescription =
        SysAllocString(L"Excel cannot open the file because it is damaged.");
    exception->scode = static_cast<SCODE>(0x800A03EC);
    return S_OK;
}

} // namespace

TEST(ExcelCom, HeaderValuesOfEveryKindBecomeText) {
    EXPECT_EQ(TextOf(Raw(VT_EMPTY)), std::string());
    EXPECT_EQ(TextOf(Raw(VT_NULL)), std::string());
    VARIANT number = Raw(VT_R8);
    number.dblVal = 42;
    EXPECT_EQ(TextOf(number), std::string("42"));
    // Range.Value gives a number formatted as currency as a currency value.
    VARIANT currency = Raw(VT_CY);
    currency.cyVal.int64 = 50000; // 5.0000
    EXPECT_EQ(TextOf(currency), std::string("5"));
    currency.cyVal.int64 = 12500;
    EXPECT_EQ(TextOf(currency), std::string("1.25"));
    VARIANT decimal = Raw(VT_EMPTY);
    EXPECT_TRUE(SUCCEEDED(VarDecFromR8(2.5, &decimal.decVal)));
    decimal.vt = VT_DECIMAL;
    EXPECT_EQ(TextOf(decimal), std::string("2.5"));
    VARIANT whole = Raw(VT_I2);
    whole.iVal = -3;
    EXPECT_EQ(TextOf(whole), std::string("-3"));
    VARIANT date = Raw(VT_DATE);
    date.date = 45352.75;
    EXPECT_EQ(TextOf(date), std::string("2024-03-01 18:00:00"));
    date.date = 45352;
    EXPECT_EQ(TextOf(date), std::string("2024-03-01"));
    VARIANT truth = Raw(VT_BOOL);
    truth.boolVal = VARIANT_TRUE;
    EXPECT_EQ(TextOf(truth), std::string("TRUE"));
    truth.boolVal = VARIANT_FALSE;
    EXPECT_EQ(TextOf(truth), std::string("FALSE"));
    VARIANT text = Raw(VT_BSTR);
    text.bstrVal = SysAllocString(L"Z\u00fcrich  ");
    EXPECT_EQ(TextOf(text), std::string("Zürich  "));
    VARIANT empty = Raw(VT_BSTR);
    empty.bstrVal = SysAllocString(L"");
    EXPECT_EQ(TextOf(empty), std::string());
    VARIANT noText = Raw(VT_BSTR);
    noText.bstrVal = nullptr; // a null BSTR is the empty text
    EXPECT_EQ(TextOf(noText), std::string());
    VARIANT error = Raw(VT_ERROR);
    error.scode = static_cast<SCODE>(0x800A07FA); // CVErr(xlErrNA)
    EXPECT_EQ(TextOf(error), std::string("#N/A"));
    double held = 3.5;
    VARIANT byReference = Raw(VT_R8 | VT_BYREF);
    byReference.pdblVal = &held;
    EXPECT_EQ(TextOf(byReference), std::string("3.5"));
    FakeObject object;
    VARIANT strange = Raw(VT_UNKNOWN);
    strange.punkVal = &object;
    EXPECT_PRED2(Contains, Thrown<sheet::SheetError>([&] { CellValueOf(strange); }),
                 "unexpected kind");
}

TEST(ExcelCom, VariantsHoldWhatTheyAreMadeOf) {
    const Variant text = Variant::Text("Zürich");
    EXPECT_EQ(text.type(), VARTYPE{VT_BSTR});
    EXPECT_TRUE(Wide(text.get()) == L"Z\u00fcrich");
    EXPECT_EQ(text.text(), std::string("Zürich"));
    const Variant copy = text; // a copy has its own string
    EXPECT_TRUE(copy.get().bstrVal != text.get().bstrVal);
    EXPECT_TRUE(Wide(copy.get()) == Wide(text.get()));
    const Variant missing = Variant::Missing();
    EXPECT_EQ(missing.type(), VARTYPE{VT_ERROR});
    EXPECT_EQ(missing.get().scode, SCODE{DISP_E_PARAMNOTFOUND});
    EXPECT_EQ(Variant::Bool(true).get().boolVal, VARIANT_BOOL{VARIANT_TRUE});
    EXPECT_EQ(Variant::Bool(false).get().boolVal, VARIANT_BOOL{VARIANT_FALSE});
    EXPECT_EQ(Variant::Int(-4142).get().lVal, LONG{-4142});
    EXPECT_EQ(Variant::Int(42).text(), std::string("42"));
    Variant seven;
    VARIANT* raw = seven.put();
    raw->vt = VT_R8;
    raw->dblVal = 7;
    EXPECT_EQ(seven.int32(), 7);
    EXPECT_PRED2(Contains, Thrown<ComError>([&] { Variant::Text("x").number(); }),
                 "0x80020005"); // DISP_E_TYPEMISMATCH
    EXPECT_PRED2(Contains, Thrown<ComError>([&] { Variant::Int(1).object(); }),
                 "other than an object");
}

TEST(ExcelCom, ArgumentsAreLaidOutNamedFirstThenLastToFirst) {
    const std::vector<Variant> positional{Variant::Int(1), Variant::Int(2), Variant::Int(3)};
    const Variant named = Variant::Int(9);
    DispatchArguments arguments(positional, {{7, &named}});
    const DISPPARAMS* params = arguments.params();
    EXPECT_EQ(params->cArgs, UINT{4});
    EXPECT_EQ(params->cNamedArgs, UINT{1});
    EXPECT_EQ(params->rgdispidNamedArgs[0], DISPID{7});
    EXPECT_EQ(params->rgvarg[0].lVal, LONG{9});
    EXPECT_EQ(params->rgvarg[1].lVal, LONG{3});
    EXPECT_EQ(params->rgvarg[2].lVal, LONG{2});
    EXPECT_EQ(params->rgvarg[3].lVal, LONG{1});
    DispatchArguments none({}, {});
    EXPECT_EQ(none.params()->cArgs, UINT{0});
    EXPECT_TRUE(none.params()->rgvarg == nullptr);
}

TEST(ExcelCom, PropertiesAreReadAndWrittenTheAutomationWay) {
    FakeObject excel;
    excel.answer = [](const FakeObject::Record&, VARIANT* result, EXCEPINFO*) {
        return AnswerInt(result, 5);
    };
    {
        const Dispatch application = excel.reference();
        EXPECT_EQ(Get(application, L"Count").int32(), 5);
        Put(application, L"Visible", Variant::Bool(true));
        EXPECT_EQ(Get(application, L"Item", {Variant::Int(2), Variant::Int(3)}).int32(), 5);
    }
    EXPECT_EQ(excel.calls.size(), std::size_t{3});
    const auto& read = excel.calls[0];
    EXPECT_TRUE(read.member == L"Count");
    EXPECT_EQ(read.flags, WORD{DISPATCH_PROPERTYGET | DISPATCH_METHOD});
    EXPECT_EQ(read.locale, LCID{1033});
    EXPECT_TRUE(read.arguments.empty());
    const auto& write = excel.calls[1];
    EXPECT_TRUE(write.member == L"Visible");
    EXPECT_EQ(write.flags, WORD{DISPATCH_PROPERTYPUT});
    EXPECT_EQ(write.locale, LCID{1033});
    EXPECT_TRUE(write.named == std::vector<std::wstring>{L"<put>"});
    EXPECT_EQ(write.arguments.size(), std::size_t{1});
    EXPECT_EQ(write.arguments[0].get().boolVal, VARIANT_BOOL{VARIANT_TRUE});
    const auto& indexed = excel.calls[2]; // Cells.Item(2, 3): row first
    EXPECT_EQ(indexed.arguments.size(), std::size_t{2});
    EXPECT_EQ(indexed.arguments[1].get().lVal, LONG{2});
    EXPECT_EQ(indexed.arguments[0].get().lVal, LONG{3});
    EXPECT_EQ(excel.references, ULONG{1});
}

TEST(ExcelCom, MethodsTakeOmittedAndNamedArguments) {
    FakeObject excel;
    {
        const Dispatch application = excel.reference();
        // Application.InputBox(Prompt, , Default, , , , , Type:=8)
        Call(application, L"InputBox",
             {Variant::Text("Highlight a block of cells with mouse"), Variant::Missing(),
              Variant::Text("'Data'!$B$2:$E$40"), Variant::Missing(), Variant::Missing(),
              Variant::Missing(), Variant::Missing(), Variant::Int(8)});
        // Workbook.Close(SaveChanges:=False)
        Call(application, L"Close", {}, {{L"SaveChanges", Variant::Bool(false)}});
    }
    EXPECT_EQ(excel.calls.size(), std::size_t{2});
    const auto& ask = excel.calls[0];
    EXPECT_TRUE(ask.member == L"InputBox");
    EXPECT_EQ(ask.flags, WORD{DISPATCH_METHOD});
    EXPECT_EQ(ask.locale, LCID{1033});
    EXPECT_EQ(ask.arguments.size(), std::size_t{8});
    EXPECT_TRUE(ask.named.empty());
    EXPECT_TRUE(Wide(ask.arguments[7].get()) == L"Highlight a block of cells with mouse");
    EXPECT_EQ(ask.arguments[6].get().scode, SCODE{DISP_E_PARAMNOTFOUND});
    EXPECT_TRUE(Wide(ask.arguments[5].get()) == L"'Data'!$B$2:$E$40");
    EXPECT_EQ(ask.arguments[1].get().scode, SCODE{DISP_E_PARAMNOTFOUND});
    EXPECT_EQ(ask.arguments[0].get().lVal, LONG{8});
    const auto& close = excel.calls[1];
    EXPECT_TRUE(close.member == L"Close");
    EXPECT_TRUE(close.named == std::vector<std::wstring>{L"SaveChanges"});
    EXPECT_EQ(close.arguments.size(), std::size_t{1});
    EXPECT_EQ(close.arguments[0].type(), VARTYPE{VT_BOOL});
    EXPECT_EQ(close.arguments[0].get().boolVal, VARIANT_BOOL{VARIANT_FALSE});
    EXPECT_EQ(excel.references, ULONG{1});
}

TEST(ExcelCom, ObjectsAnsweredAreReleased) {
    FakeObject excel;
    FakeObject workbooks;
    excel.answer = [&](const FakeObject::Record& call, VARIANT* result, EXCEPINFO*) {
        return call.member == L"Workbooks" ? AnswerObject(result, workbooks) : AnswerInt(result, 3);
    };
    {
        const Dispatch application = excel.reference();
        const Dispatch books = GetDispatch(application, L"Workbooks");
        EXPECT_EQ(workbooks.references, ULONG{2});
        EXPECT_TRUE(books.get() == &workbooks);
        const Dispatch again = books; // a copy holds a reference of its own
        EXPECT_EQ(workbooks.references, ULONG{3});
        // A value where an object was wanted fails and leaks nothing.
        EXPECT_PRED2(Contains, Thrown<ComError>([&] { GetDispatch(application, L"Count"); }),
                     "other than an object");
        // A Variant that held the object gives it up when it goes.
        { const Variant held = Get(application, L"Workbooks"); }
        EXPECT_EQ(workbooks.references, ULONG{3});
    }
    EXPECT_EQ(workbooks.references, ULONG{1});
    EXPECT_EQ(excel.references, ULONG{1});
}

TEST(ExcelCom, MemberIdsAreLookedUpOnce) {
    FakeObject range;
    const Dispatch cell = range.reference();
    Member text(L"Text");
    Get(cell, text);
    Get(cell, text);
    Get(cell, text);
    EXPECT_EQ(range.lookups, 1);
    EXPECT_EQ(range.calls.size(), std::size_t{3});
}

TEST(ExcelCom, ExcelsOwnWordsBecomeTheMessage) {
    FakeObject excel;
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO* exception) {
        exception->bstrSource = SysAllocString(L"Microsoft Excel");
        exception->bstrDescription = SysAllocString(L"Sorry, we couldn't find book.xlsx.\r\n");
        exception->scode = static_cast<SCODE>(0x800A03EC);
        return DISP_E_EXCEPTION;
    };
    const Dispatch application = excel.reference();
    EXPECT_PRED2(Contains, Thrown<sheet::SheetError>([&] {
                     GuardCom("open \"book.xlsx\"",
                              [&] { Call(application, L"Open", {Variant::Text("book.xlsx")}); });
                 }),
                 "Excel could not open \"book.xlsx\": Sorry, we couldn't find book.xlsx.");
    // Some servers fill the description in only when asked.
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO* exception) {
        exception->pfnDeferredFillIn = FillInLater;
        return DISP_E_EXCEPTION;
    };
    EXPECT_PRED2(
        Contains, Thrown<sheet::SheetError>([&] {
            GuardCom("open the workbook", [&] { Call(application, L"Open"); });
        }),
        "Excel could not open the workbook: Excel cannot open the file because it is damaged.");
    // No description at all: the system's words for the code, and the code.
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO*) {
        return DISP_E_MEMBERNOTFOUND;
    };
    EXPECT_PRED2(Contains, Thrown<sheet::SheetError>([&] {
                     GuardCom("read a cell", [&] { Get(application, L"Text"); });
                 }),
                 "Excel could not read a cell: ");
    EXPECT_PRED2(Contains, Thrown<sheet::SheetError>([&] {
                     GuardCom("read a cell", [&] { Get(application, L"Text"); });
                 }),
                 "0x80020003");
}

TEST(ExcelCom, AnExcelThatWentAwaySaysSo) {
    FakeObject excel;
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO*) {
        return RPC_E_DISCONNECTED;
    };
    const Dispatch application = excel.reference();
    EXPECT_PRED2(Contains, Thrown<sheet::SheetError>([&] {
                     GuardCom("read a cell", [&] { Get(application, L"Text"); });
                 }),
                 "Excel closed or stopped while trying to read a cell.");
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO*) {
        return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    };
    EXPECT_PRED2(Contains, Thrown<sheet::SheetError>([&] {
                     GuardCom("colour the cells", [&] { Get(application, L"Text"); });
                 }),
                 "Excel closed or stopped while trying to colour the cells.");
}

TEST(ExcelCom, AnUnknownMemberIsNamed) {
    FakeObject excel;
    excel.known = {L"Visible"};
    const Dispatch application = excel.reference();
    EXPECT_PRED2(Contains, Thrown<ComError>([&] { Get(application, L"Workbookz"); }),
                 "no member \"Workbookz\"");
    EXPECT_PRED2(Contains, Thrown<ComError>([&] {
                     Call(application, L"Close", {}, {{L"SaveChanges", Variant::Bool(false)}});
                 }),
                 "no member \"Close\"");
    EXPECT_TRUE(excel.calls.empty());
}

TEST(ExcelCom, AMissingWorkbookIsRefusedBeforeExcelStarts) {
    const auto excel = sheet::MakeSpreadsheet();
    EXPECT_PRED2(Contains, Thrown<sheet::SheetError>([&] { excel->openWorkbook("", {}); }),
                 "No workbook was given.");
    EXPECT_PRED2(Contains, Thrown<sheet::SheetError>([&] {
                     excel->openWorkbook("no such folder\\book.xlsx", {});
                 }),
                 "\"no such folder\\book.xlsx\" does not exist or is not a file.");
    const auto folder = std::filesystem::temp_directory_path();
    EXPECT_PRED2(Contains,
                 Thrown<sheet::SheetError>([&] { excel->openWorkbook(folder.string(), {}); }),
                 "does not exist or is not a file.");
}

TEST(ExcelCom, WithoutExcelTheStartFailsInWords) {
    CLSID clsid{};
    if (SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &clsid))) {
        GTEST_SKIP() << "Excel is installed here, and this check must not start it";
    }
    const auto path = std::filesystem::temp_directory_path() / "vantrelo-excel-check.xlsx";
    std::ofstream(path) << "not opened: Excel is not there to open it";
    const auto excel = sheet::MakeSpreadsheet();
    EXPECT_PRED2(Contains,
                 Thrown<sheet::SheetError>([&] { excel->openWorkbook(path.string(), {}); }),
                 "Excel could not be started: Microsoft Excel is not installed, or not registered "
                 "for automation.");
    std::filesystem::remove(path);
}
