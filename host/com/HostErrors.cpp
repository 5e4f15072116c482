#include "host/com/HostErrors.h"

#include "host/HostError.h"
#include "host/com/Connection.h"
#include "host/com/Values.h"

namespace host::com {

namespace {

std::string trimmed(std::string text) {
    while (!text.empty() &&
           (text.back() == '.' || static_cast<unsigned char>(text.back()) <= ' ')) {
        text.pop_back();
    }
    return text;
}

// What the host said in its exception, or the system's words for its code.
std::string exceptionDescription(EXCEPINFO& exception, HRESULT& code) {
    if (exception.pfnDeferredFillIn != nullptr) {
        exception.pfnDeferredFillIn(&exception);
    }
    std::string description =
        exception.bstrDescription ? trimmed(utf8Of(exception.bstrDescription)) : std::string();
    if (FAILED(exception.scode)) {
        code = exception.scode;
    } else if (exception.wCode != 0) {
        code = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, exception.wCode);
    }
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    exception = EXCEPINFO{};
    return description.empty() ? systemDescription(code) : description;
}

}  // namespace

std::string systemDescription(HRESULT result) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string description = length > 0 ? trimmed(utf8Of(std::wstring_view(text, length))) : "";
    LocalFree(text);
    return description.empty() ? "the host gave no description" : description;
}

void throwCallFailed(const std::string& operation, HRESULT result, EXCEPINFO* exception) {
    HRESULT code = result;
    if (Connection::isBusy(result)) {
        throw HostError("The host stayed busy and did not take the call " + operation +
                        " (HRESULT " + hresultText(result) + ").");
    }
    const std::string description = result == DISP_E_EXCEPTION && exception != nullptr
                                        ? exceptionDescription(*exception, code)
                                        : systemDescription(result);
    throw HostError("The host call " + operation + " failed: " + description + " (HRESULT " +
                    hresultText(code) + ").");
}

void throwWrongKind(const std::string& operation, const std::string& expected, const VARIANT& got) {
    throwWrongKind(operation, expected, kindOf(got));
}

void throwWrongKind(const std::string& operation, const std::string& expected,
                    const std::string& got) {
    throw HostError("The host call " + operation + " gave " + got + ", not " + expected + ".");
}

std::string kindOf(const VARIANT& value) {
    if ((value.vt & VT_ARRAY) != 0) {
        return "an array";
    }
    const auto type = static_cast<VARTYPE>(value.vt & VT_TYPEMASK);
    if (isNumber(type)) {
        return "a number";
    }
    switch (type) {
        case VT_EMPTY:
            return "nothing";
        case VT_NULL:
            return "a null value";
        case VT_DISPATCH:
        case VT_UNKNOWN:
            return value.punkVal == nullptr ? "no object" : "an object";
        case VT_BSTR:
            return "text";
        case VT_BOOL:
            return "a Boolean";
        case VT_ERROR:
            return "an error value";
        default:
            return "a value of variant type " + std::to_string(value.vt);
    }
}

}  // namespace host::com
