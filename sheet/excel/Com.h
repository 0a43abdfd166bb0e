#pragma once

// Plain COM automation, written out: owned references, VARIANTs and BSTRs
// that free themselves, and IDispatch calls by member name. Windows only.

#ifndef NOMINMAX
#define NOMINMAX // keeps std::min and std::max usable
#endif
#include <windows.h> // before the COM headers, which need its types

#include <objbase.h>
#include <oleauto.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sheet/StopSwitch.h"

namespace sheet::excel {

// Excel's members that take a locale (Visible, InputBox, Close) get US
// English; every other call passes it too, so numbers and references are
// read one way whatever the user's settings.
constexpr LCID kLocale = 1033;

// One owned reference to a COM interface, released when it goes.
template <typename T> class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* owned) : p_(owned) {} // takes over the caller's reference
    ComRef(const ComRef& other) : p_(other.p_) {
        if (p_) {
            p_->AddRef();
        }
    }
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComRef() { reset(); }

    void reset() noexcept {
        if (T* p = std::exchange(p_, nullptr)) {
            p->Release();
        }
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For an out parameter: drops what is held first.
    T** put() {
        reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};

using Dispatch = ComRef<IDispatch>;

// A failed COM call: its HRESULT and, when the server gave one, its own
// description. GuardCom turns it into a SheetError in words.
class ComError : public std::exception {
public:
    ComError(HRESULT code, std::string description)
        : code_(code), description_(std::move(description)) {}
    HRESULT code() const { return code_; }
    const std::string& description() const { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    HRESULT code_;
    std::string description_;
};

// The system's words for an HRESULT, with the number: "Class not registered
// (0x80040154)".
std::string SystemMessage(HRESULT code);

// Throws ComError for a failed HRESULT.
void Check(HRESULT code);

// A BSTR, freed when it goes.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::string_view utf8);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(b_); }

    BSTR get() const { return b_; }
    BSTR* put() {
        SysFreeString(std::exchange(b_, nullptr));
        return &b_;
    }
    // Hands the string over to a new owner.
    BSTR release() { return std::exchange(b_, nullptr); }

private:
    BSTR b_ = nullptr;
};

// The source VARIANT of VariantCopy and VariantChangeType, which MinGW's
// headers declare without const; the calls only read it.
inline VARIANT* Source(const VARIANT& value) {
    return const_cast<VARIANT*>(&value);
}

// UTF-16 of Windows to UTF-8 and back.
std::string Utf8Of(const wchar_t* text, std::size_t length);
std::string Utf8Of(BSTR text);
std::wstring WideOf(std::string_view utf8);

// A VARIANT, cleared when it goes.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    Variant& operator=(Variant other) noexcept {
        std::swap(v_, other.v_);
        return *this;
    }
    ~Variant() { VariantClear(&v_); }

    static Variant Missing(); // an optional argument left out
    static Variant Text(std::string_view utf8);
    static Variant Int(std::int32_t value);
    static Variant Bool(bool value);

    const VARIANT& get() const { return v_; }
    VARIANT* put() {
        VariantClear(&v_);
        return &v_;
    }
    VARTYPE type() const { return v_.vt; }

    bool isObject() const { return v_.vt == VT_DISPATCH && v_.pdispVal != nullptr; }
    // The object held, with a reference of its own; ComError when none is.
    Dispatch object() const;
    // The value converted the platform's way; ComError when it does not convert.
    std::int32_t int32() const;
    double number() const;
    std::string text() const;

private:
    VARIANT v_;
};

// An argument passed by name: Close(SaveChanges:=False).
struct NamedArgument {
    const wchar_t* name;
    Variant value;
};

// The arguments of one IDispatch::Invoke laid out as DISPPARAMS wants them:
// named ones first in the order of their DISPIDs, then the positional ones
// last to first. The VARIANTs are shallow copies: the Variants they came
// from own the values and must outlive the call.
class DispatchArguments {
public:
    DispatchArguments(const std::vector<Variant>& positional,
                      const std::vector<std::pair<DISPID, const Variant*>>& named);
    DispatchArguments(const DispatchArguments&) = delete;
    DispatchArguments& operator=(const DispatchArguments&) = delete;

    DISPPARAMS* params() { return &params_; }

private:
    std::vector<VARIANTARG> values_;
    std::vector<DISPID> names_;
    DISPPARAMS params_{};
};

// A member name whose DISPID is looked up once and then kept: Excel's objects
// of one kind share their DISPIDs, and a lookup costs a round trip to Excel.
class Member {
public:
    explicit Member(const wchar_t* name) : name_(name) {}
    DISPID id(IDispatch* object);
    const wchar_t* name() const { return name_; }

private:
    const wchar_t* name_;
    DISPID id_ = DISPID_UNKNOWN;
    bool known_ = false;
};

// IDispatch::Invoke with the locale above; ComError on failure, carrying
// the server's own description when it gave one.
Variant Invoke(IDispatch* object, DISPID member, WORD kind, DispatchArguments& arguments);

// Property read, with index arguments when the property takes them
// (Workbooks.Item(3), Cells.Item(2, 5)).
Variant Get(const Dispatch& object, Member& member, const std::vector<Variant>& arguments = {});
Variant Get(const Dispatch& object, const wchar_t* name,
            const std::vector<Variant>& arguments = {});
Dispatch GetDispatch(const Dispatch& object, const wchar_t* name,
                     const std::vector<Variant>& arguments = {});
// Property write, the value passed as DISPID_PROPERTYPUT.
void Put(const Dispatch& object, Member& member, const Variant& value);
void Put(const Dispatch& object, const wchar_t* name, const Variant& value);
// Method call, positional arguments first to last, then named ones.
Variant Call(const Dispatch& object, const wchar_t* name,
             const std::vector<Variant>& positional = {},
             const std::vector<NamedArgument>& named = {});

// COM for this thread, as an apartment that can show Excel's dialogs. A
// thread already in COM (Qt's window thread is) keeps its own.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_ = false;
};

// While Excel is busy (a cell being edited, a dialog open) it rejects calls;
// while this lives, this thread's rejected calls are retried for a while
// instead of failing at once, unless `stop` (may be null) is pulled, which
// ends the wait at once. Restores the filter it replaced.
class RetryRejectedCalls {
public:
    explicit RetryRejectedCalls(std::shared_ptr<StopSwitch> stop = nullptr);
    ~RetryRejectedCalls();
    RetryRejectedCalls(const RetryRejectedCalls&) = delete;
    RetryRejectedCalls& operator=(const RetryRejectedCalls&) = delete;

private:
    ComRef<IMessageFilter> filter_;
    IMessageFilter* previous_ = nullptr;
    bool registered_ = false;
};

// True when the call failed because Excel is gone or no longer answers.
bool IsDisconnected(HRESULT code);

} // namespace sheet::excel

#include "sheet/SheetError.h"

namespace sheet::excel {

// Throws the SheetError for a failed call made while `doing` something:
// "Excel could not open the workbook: <what Excel said>".
[[noreturn]] void ThrowAsSheetError(const std::string& doing, const ComError& error);

// Runs `body`, turning a failed COM call into a SheetError that says what we
// were doing and what Excel said. SheetErrors pass through unchanged.
template <typename Body> auto GuardCom(const std::string& doing, Body&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const ComError& e) {
        ThrowAsSheetError(doing, e);
    }
}

} // namespace sheet::excel
