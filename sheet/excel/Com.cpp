#include "Com.h"

#include "Utf16.h"

#include <atomic>
#include <chrono>
#include <cstdio>

namespace sheet::excel {

namespace {

// The text of an EXCEPINFO, freed on every path.
struct ExceptionInfo {
    EXCEPINFO info{};
    ExceptionInfo() = default;
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
    ~ExceptionInfo() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    return text;
}

} // namespace

std::string SystemMessage(HRESULT code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer != nullptr) {
        text = Trimmed(Utf8Of(buffer, length));
    }
    LocalFree(buffer);
    char number[32];
    std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(code));
    return text.empty() ? std::string("error ") + number : text + " (" + number + ")";
}

void Check(HRESULT code) {
    if (FAILED(code)) {
        throw ComError(code, SystemMessage(code));
    }
}

bool IsDisconnected(HRESULT code) {
    return code == RPC_E_DISCONNECTED || code == RPC_E_SERVER_DIED ||
           code == RPC_E_SERVER_DIED_DNE || code == CO_E_OBJNOTCONNECTED ||
           code == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           code == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED);
}

void ThrowAsSheetError(const std::string& doing, const ComError& error) {
    if (IsDisconnected(error.code())) {
        throw SheetError("Excel closed or stopped while trying to " + doing + ".");
    }
    if (error.code() == RPC_E_CALL_REJECTED) { // still busy when the retries gave up
        throw SheetError("Excel stayed busy and did not answer while trying to " + doing + ".");
    }
    throw SheetError("Excel could not " + doing +
                     (error.description().empty() ? "." : ": " + error.description() + "."));
}

std::string Utf8Of(const wchar_t* text, std::size_t length) {
    std::u16string wide(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) {
        wide[i] = static_cast<char16_t>(text[i]);
    }
    return Utf16ToUtf8(wide);
}

std::string Utf8Of(BSTR text) {
    return text == nullptr ? std::string() : Utf8Of(text, SysStringLen(text));
}

std::wstring WideOf(std::string_view utf8) {
    const std::u16string wide = Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

Bstr::Bstr(std::string_view utf8) {
    const std::wstring wide = WideOf(utf8);
    b_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (b_ == nullptr) {
        throw ComError(E_OUTOFMEMORY, SystemMessage(E_OUTOFMEMORY));
    }
}

Variant::Variant(const Variant& other) {
    VariantInit(&v_);
    Check(VariantCopy(&v_, Source(other.v_)));
}

Variant Variant::Missing() {
    Variant v;
    v.v_.vt = VT_ERROR;
    v.v_.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

Variant Variant::Text(std::string_view utf8) {
    Bstr text(utf8);
    Variant v;
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = text.release();
    return v;
}

Variant Variant::Int(std::int32_t value) {
    Variant v;
    v.v_.vt = VT_I4;
    v.v_.lVal = value;
    return v;
}

Variant Variant::Bool(bool value) {
    Variant v;
    v.v_.vt = VT_BOOL;
    v.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Dispatch Variant::object() const {
    if (!isObject()) {
        throw ComError(DISP_E_TYPEMISMATCH, "Excel answered with something other than an object");
    }
    v_.pdispVal->AddRef();
    return Dispatch(v_.pdispVal);
}

std::int32_t Variant::int32() const {
    Variant converted;
    Check(VariantChangeType(converted.put(), Source(v_), 0, VT_I4));
    return converted.v_.lVal;
}

double Variant::number() const {
    Variant converted;
    Check(VariantChangeType(converted.put(), Source(v_), 0, VT_R8));
    return converted.v_.dblVal;
}

std::string Variant::text() const {
    if (v_.vt == VT_BSTR) {
        return Utf8Of(v_.bstrVal);
    }
    Variant converted;
    Check(VariantChangeTypeEx(converted.put(), Source(v_), kLocale, 0, VT_BSTR));
    return Utf8Of(converted.v_.bstrVal);
}

DispatchArguments::DispatchArguments(const std::vector<Variant>& positional,
                                     const std::vector<std::pair<DISPID, const Variant*>>& named) {
    values_.reserve(named.size() + positional.size());
    for (const auto& [id, value] : named) {
        names_.push_back(id);
        values_.push_back(value->get());
    }
    for (auto it = positional.rbegin(); it != positional.rend(); ++it) {
        values_.push_back(it->get());
    }
    params_.rgvarg = values_.empty() ? nullptr : values_.data();
    params_.rgdispidNamedArgs = names_.empty() ? nullptr : names_.data();
    params_.cArgs = static_cast<UINT>(values_.size());
    params_.cNamedArgs = static_cast<UINT>(names_.size());
}

DISPID Member::id(IDispatch* object) {
    if (!known_) {
        LPOLESTR name = const_cast<LPOLESTR>(name_);
        const HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, kLocale, &id_);
        if (FAILED(hr)) {
            throw ComError(hr, "Excel has no member \"" + Utf8Of(name_, wcslen(name_)) +
                                   "\" here (" + SystemMessage(hr) + ")");
        }
        known_ = true;
    }
    return id_;
}

Variant Invoke(IDispatch* object, DISPID member, WORD kind, DispatchArguments& arguments) {
    if (object == nullptr) {
        throw ComError(E_POINTER, "an object Excel was asked for does not exist");
    }
    Variant result;
    ExceptionInfo exception;
    UINT badArgument = 0;
    const HRESULT hr = object->Invoke(member, IID_NULL, kLocale, kind, arguments.params(),
                                      result.put(), &exception.info, &badArgument);
    if (SUCCEEDED(hr)) {
        return result;
    }
    if (hr == DISP_E_EXCEPTION) {
        if (exception.info.pfnDeferredFillIn != nullptr) {
            exception.info.pfnDeferredFillIn(&exception.info);
        }
        const HRESULT code = exception.info.scode != 0 ? exception.info.scode : hr;
        std::string description = Trimmed(Utf8Of(exception.info.bstrDescription));
        throw ComError(code, description.empty() ? SystemMessage(code) : description);
    }
    if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) {
        throw ComError(hr, SystemMessage(hr) + ", argument " + std::to_string(badArgument + 1) +
                               " from the last");
    }
    throw ComError(hr, SystemMessage(hr));
}

namespace {

Variant InvokeNamed(const Dispatch& object, Member& member, WORD kind,
                    const std::vector<Variant>& positional,
                    const std::vector<std::pair<DISPID, const Variant*>>& named) {
    DispatchArguments arguments(positional, named);
    return Invoke(object.get(), member.id(object.get()), kind, arguments);
}

} // namespace

Variant Get(const Dispatch& object, Member& member, const std::vector<Variant>& arguments) {
    // Both flags, as automation clients do when a member may be a property
    // with arguments or a method that answers a value.
    return InvokeNamed(object, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arguments, {});
}

Variant Get(const Dispatch& object, const wchar_t* name, const std::vector<Variant>& arguments) {
    Member member(name);
    return Get(object, member, arguments);
}

Dispatch GetDispatch(const Dispatch& object, const wchar_t* name,
                     const std::vector<Variant>& arguments) {
    return Get(object, name, arguments).object();
}

void Put(const Dispatch& object, Member& member, const Variant& value) {
    InvokeNamed(object, member, DISPATCH_PROPERTYPUT, {}, {{DISPID_PROPERTYPUT, &value}});
}

void Put(const Dispatch& object, const wchar_t* name, const Variant& value) {
    Member member(name);
    Put(object, member, value);
}

Variant Call(const Dispatch& object, const wchar_t* name, const std::vector<Variant>& positional,
             const std::vector<NamedArgument>& named) {
    if (!object) {
        throw ComError(E_POINTER, "an object Excel was asked for does not exist");
    }
    // The member and its argument names in one lookup: the argument DISPIDs
    // belong to that member.
    std::vector<LPOLESTR> names{const_cast<LPOLESTR>(name)};
    for (const auto& argument : named) {
        names.push_back(const_cast<LPOLESTR>(argument.name));
    }
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names.data(),
                                             static_cast<UINT>(names.size()), kLocale, ids.data());
    if (FAILED(hr)) {
        throw ComError(hr, "Excel has no member \"" + Utf8Of(name, wcslen(name)) +
                               "\" with these arguments here (" + SystemMessage(hr) + ")");
    }
    std::vector<std::pair<DISPID, const Variant*>> namedIds;
    for (std::size_t i = 0; i < named.size(); ++i) {
        namedIds.emplace_back(ids[i + 1], &named[i].value);
    }
    DispatchArguments arguments(positional, namedIds);
    return Invoke(object.get(), ids[0], DISPATCH_METHOD, arguments);
}

ComApartment::ComApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(hr)) {
        initialised_ = true; // S_FALSE too: every success is balanced by CoUninitialize
    } else if (hr != RPC_E_CHANGED_MODE) {
        throw SheetError("Excel could not be started: COM could not be initialised (" +
                         SystemMessage(hr) + ").");
    }
}

ComApartment::~ComApartment() {
    if (initialised_) {
        CoUninitialize();
    }
}

// COM objects are never deleted through their interfaces, whose destructors
// are therefore not virtual.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
namespace {

// Counted for real: COM keeps a reference while it is registered, so a filter
// that two workbooks of one thread replaced out of order is never left dangling.
class RetryingFilter final : public IMessageFilter {
public:
    explicit RetryingFilter(std::shared_ptr<StopSwitch> stop) : stop_(std::move(stop)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
            *object = static_cast<IMessageFilter*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD rejectType) override {
        // Busy is worth waiting for; a refusal is final. The wait is ours
        // rather than COM's, so that a stop ends it at once.
        constexpr DWORD kGiveUpAfterMs = 30000;
        constexpr std::chrono::milliseconds kRetryAfter{250};
        constexpr DWORD kCancel = static_cast<DWORD>(-1);
        constexpr DWORD kRetryNow = 0;
        if (rejectType != SERVERCALL_RETRYLATER || elapsedMs >= kGiveUpAfterMs) {
            return kCancel;
        }
        return PulledWithin(stop_, kRetryAfter) ? kCancel : kRetryNow;
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        // Lets the caller's window repaint while a call waits.
        return PENDINGMSG_WAITDEFPROCESS;
    }

private:
    std::atomic<ULONG> references_{1};
    std::shared_ptr<StopSwitch> stop_;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace

RetryRejectedCalls::RetryRejectedCalls(std::shared_ptr<StopSwitch> stop)
    : filter_(new RetryingFilter(std::move(stop))) {
    // Fails outside a single-threaded apartment, where there is no filter to
    // set; calls then simply are not retried.
    registered_ = SUCCEEDED(CoRegisterMessageFilter(filter_.get(), &previous_));
}

RetryRejectedCalls::~RetryRejectedCalls() {
    if (registered_) {
        CoRegisterMessageFilter(previous_, nullptr);
        if (previous_ != nullptr) {
            previous_->Release(); // the reference the first registration handed us
        }
    }
}

} // namespace sheet::excel
