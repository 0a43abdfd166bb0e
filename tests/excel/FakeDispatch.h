#pragma once

// A stand-in automation object for the Excel backend's tests on Windows: it
// records every call it gets, optionally into a journal shared by several
// objects ("Workbooks.Item(1)", "Application.Visible = True"), and answers
// as told. Its references are counted but it is never freed: the test owns
// it and checks that every reference handed out came back.

#include "sheet/excel/Com.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace fake {

using sheet::excel::Dispatch;
using sheet::excel::Variant;

// COM objects are never deleted through their interfaces, whose destructors
// are therefore not virtual.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class FakeObject final : public IDispatch {
public:
    struct Record {
        std::wstring member;
        WORD flags = 0;
        LCID locale = 0;
        std::vector<Variant> arguments; // as DISPPARAMS holds them: named first, then last to first
        std::vector<std::wstring> named;
    };
    using Answer = std::function<HRESULT(const Record&, VARIANT* result, EXCEPINFO* exception)>;

    explicit FakeObject(std::string label = "Object", std::vector<std::string>* journal = nullptr)
        : label_(std::move(label)), journal_(journal) {}

    // Like an object of a single-threaded apartment, it answers only the
    // thread that made it.
    const DWORD thread = GetCurrentThreadId();
    ULONG references = 1;
    int lookups = 0;
    std::set<std::wstring> known; // when not empty, the only names there are
    std::vector<Record> calls;
    Answer answer;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override;

    // A reference for a Dispatch to own.
    Dispatch reference();
    const std::string& label() const { return label_; }

private:
    // One DISPID per name for every stand-in, as Excel's objects of one kind
    // share theirs: the backend keeps a DISPID found on one cell for the next.
    static DISPID idOf(const std::wstring& name);
    static const std::wstring& nameOf(DISPID id);

    std::string label_;
    std::vector<std::string>* journal_;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// A call as the journal writes it, in the caller's order:
// "Close(SaveChanges:=False)", "InputBox(\"p\", , \"d\", 8)", "Visible = True".
std::string Describe(const std::string& label, const FakeObject::Record& call);
std::string Describe(const VARIANT& value);

// Answers for FakeObject::answer.
HRESULT AnswerInt(VARIANT* result, std::int32_t value);
HRESULT AnswerNumber(VARIANT* result, double value);
HRESULT AnswerText(VARIANT* result, const wchar_t* text);
HRESULT AnswerObject(VARIANT* result, FakeObject& object); // hands out a reference
HRESULT AnswerFailure(EXCEPINFO* exception, const wchar_t* description);

} // namespace fake
