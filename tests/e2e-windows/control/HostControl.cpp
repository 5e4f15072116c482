// quarvel_host_control: the end-to-end scripts' hand on the test host
// (tests/com-server), through its control object "Quarvel.TestHost.Control".
//
//   quarvel_host_control load SHEET_FILE   the host's documents become the sheet
//   quarvel_host_control dump              the documents as the host holds them
//   quarvel_host_control calls             the host calls received, one a line
//   quarvel_host_control fail CALL [N]     the N-th call logged as CALL fails (every one for 0)
//   quarvel_host_control zero TOP LEFT     the rulers' zero point (the "current" profile)
//   quarvel_host_control quit              the host process ends
//
// Prints what the host answers; status 1, with the reason, when the host
// cannot be reached or refuses.

#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring widen(const std::string& text) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

std::string narrow(const wchar_t* text, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

[[noreturn]] void fail(const std::string& what, HRESULT result) {
    std::fprintf(stderr, "quarvel_host_control: %s (0x%08lx)\n", what.c_str(),
                 static_cast<unsigned long>(result));
    std::exit(1);
}

// Calls `name` on `control` with string or integer arguments, in order; returns the result.
VARIANT call(IDispatch* control, const wchar_t* name, std::vector<VARIANT> arguments) {
    DISPID id = 0;
    auto* member = const_cast<wchar_t*>(name);
    HRESULT result = control->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result)) {
        fail("the control object has no member " + narrow(name, -1), result);
    }
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO exception{};
    result = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                             &answer, &exception, nullptr);
    for (VARIANT& argument : arguments) {
        VariantClear(&argument);
    }
    if (FAILED(result)) {
        const std::string reason =
            exception.bstrDescription ? narrow(exception.bstrDescription, -1) : "";
        fail(narrow(name, -1) + " failed" + (reason.empty() ? "" : ": " + reason), result);
    }
    return answer;
}

VARIANT text(const std::string& value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_BSTR;
    const std::wstring wide = widen(value);
    variant.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return variant;
}

VARIANT real(double value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_R8;
    variant.dblVal = value;
    return variant;
}

VARIANT number(long value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

void printText(VARIANT answer) {
    if (answer.vt == VT_BSTR && answer.bstrVal) {
        std::fputs(narrow(answer.bstrVal, static_cast<int>(SysStringLen(answer.bstrVal))).c_str(),
                   stdout);
    }
    VariantClear(&answer);
}

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quarvel_host_control: cannot read %s\n", path);
        std::exit(1);
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

int usage() {
    std::fprintf(stderr,
                 "usage: quarvel_host_control load SHEET | dump | calls | fail CALL [N] | "
                 "zero TOP LEFT | quit\n");
    return 2;
}

int run(IDispatch* control, int argc, char** argv) {
    const std::string command = argv[1];
    if (command == "load" && argc == 3) {
        VARIANT answer = call(control, L"Load", {text(readFile(argv[2]))});
        VariantClear(&answer);
    } else if (command == "dump" && argc == 2) {
        printText(call(control, L"Dump", {}));
    } else if (command == "calls" && argc == 2) {
        printText(call(control, L"Calls", {}));
    } else if (command == "fail" && (argc == 3 || argc == 4)) {
        const long occurrence = argc == 4 ? std::atol(argv[3]) : 0;
        VARIANT answer = call(control, L"FailOn", {text(argv[2]), number(occurrence)});
        VariantClear(&answer);
    } else if (command == "zero" && argc == 4) {
        VARIANT answer =
            call(control, L"ZeroPoint", {real(std::atof(argv[2])), real(std::atof(argv[3]))});
        VariantClear(&answer);
    } else if (command == "quit" && argc == 2) {
        VARIANT answer = call(control, L"Quit", {});
        VariantClear(&answer);
    } else {
        return usage();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CLSID classId;
    HRESULT result = CLSIDFromProgID(L"Quarvel.TestHost.Control", &classId);
    if (FAILED(result)) {
        fail("the test host is not registered", result);
    }
    IDispatch* control = nullptr;
    result = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&control));
    if (FAILED(result)) {
        fail("cannot reach the test host", result);
    }
    const int status = run(control, argc, argv);
    control->Release();
    CoUninitialize();
    return status;
}
