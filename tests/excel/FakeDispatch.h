#pragma once

// A stand-in automation object for the Excel backend's tests on Windows: it
// answers as told and counts its references. Alone it records every call it
// gets; objects sharing a CallLog count their calls there and, while the log
// journals, write each call as a line ("Workbooks.Item(1)",
// "Application.Visible = True") instead.

#include "sheet/excel/Com.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace fake {

using sheet::excel::Dispatch;
using sheet::excel::Variant;

// What the objects of one stand-in share.
struct CallLog {
    // Invoke and GetIDsOfNames: each is a round trip into a real Excel.
    std::uint64_t calls = 0;
    // Objects handed out and given back: each release of the last
    // reference is one more round trip.
    std::uint64_t released = 0;
    // Objects made for the caller and not yet given back.
    std::int64_t live = 0;
    bool journalling = true;
    std::vector<std::string> journal;
};

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

    // An object the test owns, holding the one reference the test keeps.
    explicit FakeObject(std::string label = "Object", CallLog* log = nullptr)
        : label_(std::move(label)), log_(log) {}
    // An object made for the caller alone: it holds no reference until
    // handed out, and deletes itself when the last one is released.
    static FakeObject& Transient(std::string label, CallLog& log);
    ~FakeObject();
    FakeObject(const FakeObject&) = delete;
    FakeObject& operator=(const FakeObject&) = delete;

    // Like an object of a single-threaded apartment, it answers only the
    // thread that made it.
    const DWORD thread = GetCurrentThreadId();
    ULONG references = 1;
    int lookups = 0;
    std::set<std::wstring> known; // when not empty, the only names there are
    std::vector<Record> calls;    // kept only without a log
    Answer answer;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override;
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
    CallLog* log_;
    bool transient_ = false;
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
