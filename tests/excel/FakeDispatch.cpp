#include "FakeDispatch.h"

namespace fake {
namespace {

std::vector<std::wstring>& Names() {
    static std::vector<std::wstring> names;
    return names;
}

} // namespace

FakeObject& FakeObject::Transient(std::string label, CallLog& log) {
    auto* object = new FakeObject(std::move(label), &log);
    object->references = 0;
    object->transient_ = true;
    ++log.live;
    return *object;
}

FakeObject::~FakeObject() {
    if (transient_) {
        --log_->live;
        ++log_->released;
    }
}

ULONG FakeObject::Release() {
    const ULONG left = --references;
    if (left == 0 && transient_) {
        delete this;
    }
    return left;
}

HRESULT FakeObject::QueryInterface(REFIID riid, void** object) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeObject::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT FakeObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (GetCurrentThreadId() != thread) {
        return RPC_E_WRONG_THREAD;
    }
    ++lookups;
    if (log_ != nullptr) {
        ++log_->calls;
    }
    for (UINT i = 0; i < count; ++i) {
        const std::wstring name = names[i];
        if (!known.empty() && known.count(name) == 0) {
            return DISP_E_UNKNOWNNAME;
        }
        ids[i] = idOf(name);
    }
    return S_OK;
}

HRESULT FakeObject::Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT*) {
    if (GetCurrentThreadId() != thread) {
        return RPC_E_WRONG_THREAD;
    }
    Record record;
    record.member = nameOf(id);
    record.flags = flags;
    record.locale = locale;
    for (UINT i = 0; i < params->cArgs; ++i) {
        Variant copy;
        VariantCopy(copy.put(), &params->rgvarg[i]);
        record.arguments.push_back(copy);
    }
    for (UINT i = 0; i < params->cNamedArgs; ++i) {
        const DISPID named = params->rgdispidNamedArgs[i];
        record.named.push_back(named == DISPID_PROPERTYPUT ? std::wstring(L"<put>")
                                                           : nameOf(named));
    }
    if (log_ == nullptr) {
        calls.push_back(record);
    } else {
        ++log_->calls;
        if (log_->journalling) {
            log_->journal.push_back(Describe(label_, record));
        }
    }
    return answer ? answer(record, result, exception) : S_OK;
}

Dispatch FakeObject::reference() {
    AddRef();
    return Dispatch(this);
}

DISPID FakeObject::idOf(const std::wstring& name) {
    auto& names = Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return static_cast<DISPID>(i + 1);
        }
    }
    names.push_back(name);
    return static_cast<DISPID>(names.size());
}

const std::wstring& FakeObject::nameOf(DISPID id) {
    return Names().at(static_cast<std::size_t>(id - 1));
}

std::string Describe(const VARIANT& value) {
    switch (value.vt) {
    case VT_ERROR:
        return value.scode == DISP_E_PARAMNOTFOUND ? std::string()
                                                   : "Error " + std::to_string(value.scode);
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE ? "True" : "False";
    case VT_BSTR:
        return "\"" + sheet::excel::Utf8Of(value.bstrVal) + "\"";
    case VT_DISPATCH:
        return "<object>";
    case VT_EMPTY:
        return "Empty";
    default: {
        Variant text;
        if (SUCCEEDED(VariantChangeType(text.put(), sheet::excel::Source(value), 0, VT_BSTR))) {
            return sheet::excel::Utf8Of(text.get().bstrVal);
        }
        return "<variant type " + std::to_string(value.vt) + ">";
    }
    }
}

std::string Describe(const std::string& label, const FakeObject::Record& call) {
    const std::string member = sheet::excel::Utf8Of(call.member.data(), call.member.size());
    std::string text = label + "." + member;
    const std::size_t namedCount = call.named.size();
    if (call.flags == DISPATCH_PROPERTYPUT) {
        return text + " = " + Describe(call.arguments.at(0).get());
    }
    std::vector<std::string> parts;
    for (std::size_t i = call.arguments.size(); i > namedCount; --i) {
        parts.push_back(Describe(call.arguments[i - 1].get()));
    }
    for (std::size_t i = 0; i < namedCount; ++i) {
        parts.push_back(sheet::excel::Utf8Of(call.named[i].data(), call.named[i].size()) +
                        ":=" + Describe(call.arguments[i].get()));
    }
    if (parts.empty() && call.flags != DISPATCH_METHOD) {
        return text; // a property read
    }
    text += "(";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += (i == 0 ? "" : ", ") + parts[i];
    }
    return text + ")";
}

HRESULT AnswerInt(VARIANT* result, std::int32_t value) {
    result->vt = VT_I4;
    result->lVal = value;
    return S_OK;
}

HRESULT AnswerNumber(VARIANT* result, double value) {
    result->vt = VT_R8;
    result->dblVal = value;
    return S_OK;
}

HRESULT AnswerText(VARIANT* result, const wchar_t* text) {
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocString(text);
    return S_OK;
}

HRESULT AnswerObject(VARIANT* result, FakeObject& object) {
    object.AddRef(); // the server's reference, handed to the caller
    result->vt = VT_DISPATCH;
    result->pdispVal = &object;
    return S_OK;
}

HRESULT AnswerFailure(EXCEPINFO* exception, const wchar_t* description) {
    exception->bstrSource = SysAllocString(L"Microsoft Excel");
    exception->bstrDescription = SysAllocString(description);
    exception->scode = static_cast<SCODE>(0x800A03EC);
    return DISP_E_EXCEPTION;
}

} // namespace fake
