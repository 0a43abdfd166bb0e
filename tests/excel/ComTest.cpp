// The Excel backend's COM layer, on Windows (under Wine here): VARIANTs to
// text, the arguments as IDispatch::Invoke gets them, references released,
// failures in words, and the start failing cleanly where Excel is missing.

#include "Check.h"
#include "FakeDispatch.h"

#include "sheet/SheetError.h"
#include "sheet/Spreadsheet.h"
#include "sheet/excel/CellValue.h"
#include "sheet/excel/Com.h"
#include "sheet/excel/VariantValue.h"

#include <filesystem>
#include <cstdio>
#include <fstream>

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
    return v.vt == VT_BSTR && v.bstrVal != nullptr ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal))
                                                   : std::wstring(L"<not a text>");
}

HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* exception) {
    exception->bstrDescription = SysAllocString(L"Excel cannot open the file because it is damaged.");
    exception->scode = static_cast<SCODE>(0x800A03EC);
    return S_OK;
}

} // namespace

CHECK_CASE(HeaderValuesOfEveryKindBecomeText) {
    CHECK_EQ(TextOf(Raw(VT_EMPTY)), std::string());
    CHECK_EQ(TextOf(Raw(VT_NULL)), std::string());
    VARIANT number = Raw(VT_R8);
    number.dblVal = 42;
    CHECK_EQ(TextOf(number), std::string("42"));
    // Range.Value gives a number formatted as currency as a currency value.
    VARIANT currency = Raw(VT_CY);
    currency.cyVal.int64 = 50000; // 5.0000
    CHECK_EQ(TextOf(currency), std::string("5"));
    currency.cyVal.int64 = 12500;
    CHECK_EQ(TextOf(currency), std::string("1.25"));
    VARIANT decimal = Raw(VT_EMPTY);
    CHECK(SUCCEEDED(VarDecFromR8(2.5, &decimal.decVal)));
    decimal.vt = VT_DECIMAL;
    CHECK_EQ(TextOf(decimal), std::string("2.5"));
    VARIANT whole = Raw(VT_I2);
    whole.iVal = -3;
    CHECK_EQ(TextOf(whole), std::string("-3"));
    VARIANT date = Raw(VT_DATE);
    date.date = 45352.75;
    CHECK_EQ(TextOf(date), std::string("2024-03-01 18:00:00"));
    date.date = 45352;
    CHECK_EQ(TextOf(date), std::string("2024-03-01"));
    VARIANT truth = Raw(VT_BOOL);
    truth.boolVal = VARIANT_TRUE;
    CHECK_EQ(TextOf(truth), std::string("TRUE"));
    truth.boolVal = VARIANT_FALSE;
    CHECK_EQ(TextOf(truth), std::string("FALSE"));
    VARIANT text = Raw(VT_BSTR);
    text.bstrVal = SysAllocString(L"Z\u00fcrich  ");
    CHECK_EQ(TextOf(text), std::string("Zürich  "));
    VARIANT empty = Raw(VT_BSTR);
    empty.bstrVal = SysAllocString(L"");
    CHECK_EQ(TextOf(empty), std::string());
    VARIANT noText = Raw(VT_BSTR);
    noText.bstrVal = nullptr; // a null BSTR is the empty text
    CHECK_EQ(TextOf(noText), std::string());
    VARIANT error = Raw(VT_ERROR);
    error.scode = static_cast<SCODE>(0x800A07FA); // CVErr(xlErrNA)
    CHECK_EQ(TextOf(error), std::string("#N/A"));
    double held = 3.5;
    VARIANT byReference = Raw(VT_R8 | VT_BYREF);
    byReference.pdblVal = &held;
    CHECK_EQ(TextOf(byReference), std::string("3.5"));
    FakeObject object;
    VARIANT strange = Raw(VT_UNKNOWN);
    strange.punkVal = &object;
    CHECK_THROWS(CellValueOf(strange), sheet::SheetError, "unexpected kind");
}

CHECK_CASE(VariantsHoldWhatTheyAreMadeOf) {
    const Variant text = Variant::Text("Zürich");
    CHECK_EQ(text.type(), VARTYPE{VT_BSTR});
    CHECK(Wide(text.get()) == L"Z\u00fcrich");
    CHECK_EQ(text.text(), std::string("Zürich"));
    const Variant copy = text; // a copy has its own string
    CHECK(copy.get().bstrVal != text.get().bstrVal);
    CHECK(Wide(copy.get()) == Wide(text.get()));
    const Variant missing = Variant::Missing();
    CHECK_EQ(missing.type(), VARTYPE{VT_ERROR});
    CHECK_EQ(missing.get().scode, SCODE{DISP_E_PARAMNOTFOUND});
    CHECK_EQ(Variant::Bool(true).get().boolVal, VARIANT_BOOL{VARIANT_TRUE});
    CHECK_EQ(Variant::Bool(false).get().boolVal, VARIANT_BOOL{VARIANT_FALSE});
    CHECK_EQ(Variant::Int(-4142).get().lVal, LONG{-4142});
    CHECK_EQ(Variant::Int(42).text(), std::string("42"));
    Variant seven;
    VARIANT* raw = seven.put();
    raw->vt = VT_R8;
    raw->dblVal = 7;
    CHECK_EQ(seven.int32(), 7);
    CHECK_THROWS(Variant::Text("x").number(), ComError, "0x80020005"); // DISP_E_TYPEMISMATCH
    CHECK_THROWS(Variant::Int(1).object(), ComError, "other than an object");
}

CHECK_CASE(ArgumentsAreLaidOutNamedFirstThenLastToFirst) {
    const std::vector<Variant> positional{Variant::Int(1), Variant::Int(2), Variant::Int(3)};
    const Variant named = Variant::Int(9);
    DispatchArguments arguments(positional, {{7, &named}});
    const DISPPARAMS* params = arguments.params();
    CHECK_EQ(params->cArgs, UINT{4});
    CHECK_EQ(params->cNamedArgs, UINT{1});
    CHECK_EQ(params->rgdispidNamedArgs[0], DISPID{7});
    CHECK_EQ(params->rgvarg[0].lVal, LONG{9});
    CHECK_EQ(params->rgvarg[1].lVal, LONG{3});
    CHECK_EQ(params->rgvarg[2].lVal, LONG{2});
    CHECK_EQ(params->rgvarg[3].lVal, LONG{1});
    DispatchArguments none({}, {});
    CHECK_EQ(none.params()->cArgs, UINT{0});
    CHECK(none.params()->rgvarg == nullptr);
}

CHECK_CASE(PropertiesAreReadAndWrittenTheAutomationWay) {
    FakeObject excel;
    excel.answer = [](const FakeObject::Record&, VARIANT* result, EXCEPINFO*) { return AnswerInt(result, 5); };
    {
        const Dispatch application = excel.reference();
        CHECK_EQ(Get(application, L"Count").int32(), 5);
        Put(application, L"Visible", Variant::Bool(true));
        CHECK_EQ(Get(application, L"Item", {Variant::Int(2), Variant::Int(3)}).int32(), 5);
    }
    CHECK_EQ(excel.calls.size(), std::size_t{3});
    const auto& read = excel.calls[0];
    CHECK(read.member == L"Count");
    CHECK_EQ(read.flags, WORD{DISPATCH_PROPERTYGET | DISPATCH_METHOD});
    CHECK_EQ(read.locale, LCID{1033});
    CHECK(read.arguments.empty());
    const auto& write = excel.calls[1];
    CHECK(write.member == L"Visible");
    CHECK_EQ(write.flags, WORD{DISPATCH_PROPERTYPUT});
    CHECK_EQ(write.locale, LCID{1033});
    CHECK(write.named == std::vector<std::wstring>{L"<put>"});
    CHECK_EQ(write.arguments.size(), std::size_t{1});
    CHECK_EQ(write.arguments[0].get().boolVal, VARIANT_BOOL{VARIANT_TRUE});
    const auto& indexed = excel.calls[2]; // Cells.Item(2, 3): row first
    CHECK_EQ(indexed.arguments.size(), std::size_t{2});
    CHECK_EQ(indexed.arguments[1].get().lVal, LONG{2});
    CHECK_EQ(indexed.arguments[0].get().lVal, LONG{3});
    CHECK_EQ(excel.references, ULONG{1});
}

CHECK_CASE(MethodsTakeOmittedAndNamedArguments) {
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
    CHECK_EQ(excel.calls.size(), std::size_t{2});
    const auto& ask = excel.calls[0];
    CHECK(ask.member == L"InputBox");
    CHECK_EQ(ask.flags, WORD{DISPATCH_METHOD});
    CHECK_EQ(ask.locale, LCID{1033});
    CHECK_EQ(ask.arguments.size(), std::size_t{8});
    CHECK(ask.named.empty());
    CHECK(Wide(ask.arguments[7].get()) == L"Highlight a block of cells with mouse");
    CHECK_EQ(ask.arguments[6].get().scode, SCODE{DISP_E_PARAMNOTFOUND});
    CHECK(Wide(ask.arguments[5].get()) == L"'Data'!$B$2:$E$40");
    CHECK_EQ(ask.arguments[1].get().scode, SCODE{DISP_E_PARAMNOTFOUND});
    CHECK_EQ(ask.arguments[0].get().lVal, LONG{8});
    const auto& close = excel.calls[1];
    CHECK(close.member == L"Close");
    CHECK(close.named == std::vector<std::wstring>{L"SaveChanges"});
    CHECK_EQ(close.arguments.size(), std::size_t{1});
    CHECK_EQ(close.arguments[0].type(), VARTYPE{VT_BOOL});
    CHECK_EQ(close.arguments[0].get().boolVal, VARIANT_BOOL{VARIANT_FALSE});
    CHECK_EQ(excel.references, ULONG{1});
}

CHECK_CASE(ObjectsAnsweredAreReleased) {
    FakeObject excel;
    FakeObject workbooks;
    excel.answer = [&](const FakeObject::Record& call, VARIANT* result, EXCEPINFO*) {
        return call.member == L"Workbooks" ? AnswerObject(result, workbooks) : AnswerInt(result, 3);
    };
    {
        const Dispatch application = excel.reference();
        const Dispatch books = GetDispatch(application, L"Workbooks");
        CHECK_EQ(workbooks.references, ULONG{2});
        CHECK(books.get() == &workbooks);
        const Dispatch again = books; // a copy holds a reference of its own
        CHECK_EQ(workbooks.references, ULONG{3});
        // A value where an object was wanted fails and leaks nothing.
        CHECK_THROWS(GetDispatch(application, L"Count"), ComError, "other than an object");
        // A Variant that held the object gives it up when it goes.
        { const Variant held = Get(application, L"Workbooks"); }
        CHECK_EQ(workbooks.references, ULONG{3});
    }
    CHECK_EQ(workbooks.references, ULONG{1});
    CHECK_EQ(excel.references, ULONG{1});
}

CHECK_CASE(MemberIdsAreLookedUpOnce) {
    FakeObject range;
    const Dispatch cell = range.reference();
    Member text(L"Text");
    Get(cell, text);
    Get(cell, text);
    Get(cell, text);
    CHECK_EQ(range.lookups, 1);
    CHECK_EQ(range.calls.size(), std::size_t{3});
}

CHECK_CASE(ExcelsOwnWordsBecomeTheMessage) {
    FakeObject excel;
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO* exception) {
        exception->bstrSource = SysAllocString(L"Microsoft Excel");
        exception->bstrDescription = SysAllocString(L"Sorry, we couldn't find book.xlsx.\r\n");
        exception->scode = static_cast<SCODE>(0x800A03EC);
        return DISP_E_EXCEPTION;
    };
    const Dispatch application = excel.reference();
    CHECK_THROWS(GuardCom("open \"book.xlsx\"", [&] { Call(application, L"Open", {Variant::Text("book.xlsx")}); }),
                 sheet::SheetError, "Excel could not open \"book.xlsx\": Sorry, we couldn't find book.xlsx.");
    // Some servers fill the description in only when asked.
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO* exception) {
        exception->pfnDeferredFillIn = FillInLater;
        return DISP_E_EXCEPTION;
    };
    CHECK_THROWS(GuardCom("open the workbook", [&] { Call(application, L"Open"); }), sheet::SheetError,
                 "Excel could not open the workbook: Excel cannot open the file because it is damaged.");
    // No description at all: the system's words for the code, and the code.
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO*) { return DISP_E_MEMBERNOTFOUND; };
    CHECK_THROWS(GuardCom("read a cell", [&] { Get(application, L"Text"); }), sheet::SheetError,
                 "Excel could not read a cell: ");
    CHECK_THROWS(GuardCom("read a cell", [&] { Get(application, L"Text"); }), sheet::SheetError,
                 "0x80020003");
}

CHECK_CASE(AnExcelThatWentAwaySaysSo) {
    FakeObject excel;
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO*) { return RPC_E_DISCONNECTED; };
    const Dispatch application = excel.reference();
    CHECK_THROWS(GuardCom("read a cell", [&] { Get(application, L"Text"); }), sheet::SheetError,
                 "Excel closed or stopped while trying to read a cell.");
    excel.answer = [](const FakeObject::Record&, VARIANT*, EXCEPINFO*) {
        return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    };
    CHECK_THROWS(GuardCom("colour the cells", [&] { Get(application, L"Text"); }), sheet::SheetError,
                 "Excel closed or stopped while trying to colour the cells.");
}

CHECK_CASE(AnUnknownMemberIsNamed) {
    FakeObject excel;
    excel.known = {L"Visible"};
    const Dispatch application = excel.reference();
    CHECK_THROWS(Get(application, L"Workbookz"), ComError, "no member \"Workbookz\"");
    CHECK_THROWS(Call(application, L"Close", {}, {{L"SaveChanges", Variant::Bool(false)}}), ComError,
                 "no member \"Close\"");
    CHECK(excel.calls.empty());
}

CHECK_CASE(AMissingWorkbookIsRefusedBeforeExcelStarts) {
    const auto excel = sheet::MakeSpreadsheet();
    CHECK_THROWS(excel->openWorkbook("", {}), sheet::SheetError, "No workbook was given.");
    CHECK_THROWS(excel->openWorkbook("no such folder\\book.xlsx", {}), sheet::SheetError,
                 "\"no such folder\\book.xlsx\" does not exist or is not a file.");
    const auto folder = std::filesystem::temp_directory_path();
    CHECK_THROWS(excel->openWorkbook(folder.string(), {}), sheet::SheetError, "does not exist or is not a file.");
}

CHECK_CASE(WithoutExcelTheStartFailsInWords) {
    CLSID clsid{};
    if (SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &clsid))) {
        check::Skip("Excel is installed here, and this check must not start it");
    }
    const auto path = std::filesystem::temp_directory_path() / "vantrelo-excel-check.xlsx";
    std::ofstream(path) << "not opened: Excel is not there to open it";
    const auto excel = sheet::MakeSpreadsheet();
    try {
        excel->openWorkbook(path.string(), {});
        check::Failed(__FILE__, __LINE__, "a workbook opened without Excel");
    } catch (const sheet::SheetError& e) {
        std::printf("  said: %s\n", e.what());
        CHECK(std::string(e.what()).starts_with(
            "Excel could not be started: Microsoft Excel is not installed, or not registered for automation."));
    }
    std::filesystem::remove(path);
}
