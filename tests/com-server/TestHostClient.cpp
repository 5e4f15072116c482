#include "TestHostClient.h"

#include "host/HostConnection.h"

#include <cstdlib>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace testhost {

namespace {

using host::com::wideOf;

void check(HRESULT result, const char* what) {
    if (FAILED(result)) {
        throw std::runtime_error(std::string("test host: ") + what + " failed (HRESULT " +
                                 host::com::hresultText(result) + ")");
    }
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

host::com::Variant argument(std::string_view text) {
    host::com::Variant value;
    value.put()->vt = VT_BSTR;
    value.get().bstrVal = SysAllocString(wideOf(text).c_str());
    return value;
}

host::com::Variant argument(long number) {
    return host::com::Variant(number);
}

host::com::Variant argument(double number) {
    return host::com::Variant(number);
}

template <class... Values>
std::vector<host::com::Variant> args(Values... values) {
    std::vector<host::com::Variant> list;
    (list.push_back(argument(values)), ...);
    return list;
}

std::string text(const host::com::Variant& value) {
    return value.type() == VT_BSTR ? host::com::utf8Of(value.get().bstrVal) : std::string();
}

std::unique_ptr<TestHostClient> started;

}  // namespace

TestHostClient& TestHostClient::get() {
    if (!started) {
        started.reset(new TestHostClient());
    }
    return *started;
}

bool TestHostClient::current() {
    const char* profile = std::getenv("QUARVEL_TEST_HOST_PROFILE");
    return profile != nullptr && std::string_view(profile) == "current";
}

std::string TestHostClient::progId() {
    return current() ? "InDesign.Application.2025" : host::kProgId;
}

void TestHostClient::zeroPoint(double top, double left) {
    call(L"ZeroPoint", args(top, left));
}

void TestHostClient::end() {
    if (started) {
        started->quit();
        started.reset();
    }
}

TestHostClient::TestHostClient() {
    check(CoCreateInstance(CLSID_TestHostControl, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                           m_control.putVoid()),
          "starting (is it registered?)");
}

host::com::Variant TestHostClient::call(const wchar_t* name,
                                        std::vector<host::com::Variant> arguments) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    check(m_control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
          "finding a control member");
    std::vector<VARIANT> reversed;
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
        reversed.push_back(argument->get());
    }
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    host::com::Variant result;
    EXCEPINFO exception{};
    const HRESULT outcome = m_control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                              &parameters, result.put(), &exception, nullptr);
    if (outcome == DISP_E_EXCEPTION) {
        const std::string why = exception.bstrDescription
                                    ? host::com::utf8Of(exception.bstrDescription)
                                    : std::string("no description");
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        throw std::runtime_error("test host: " + host::com::utf8Of(std::wstring_view(name)) +
                                 " failed: " + why);
    }
    check(outcome, "a control call");
    return result;
}

std::vector<std::string> TestHostClient::lines(const wchar_t* name) {
    return linesOf(text(call(name)));
}

void TestHostClient::load(std::string_view sheet) {
    call(L"Load", args(sheet));
}

std::string TestHostClient::dump() {
    return text(call(L"Dump"));
}

std::vector<std::string> TestHostClient::calls() {
    return lines(L"Calls");
}

void TestHostClient::clearCalls() {
    call(L"ClearCalls");
}

void TestHostClient::failOn(std::string_view call, long occurrence) {
    this->call(L"FailOn", args(call, occurrence));
}

void TestHostClient::busy(long calls) {
    call(L"Busy", args(calls));
}

void TestHostClient::refuse(std::string_view interfaceName) {
    call(L"Refuse", args(interfaceName));
}

void TestHostClient::garble(std::string_view call) {
    this->call(L"Garble", args(call));
}

void TestHostClient::hide(std::string_view member) {
    call(L"Hide", args(member));
}

void TestHostClient::boundsForm(std::string_view form) {
    call(L"BoundsForm", args(form));
}

long TestHostClient::counter(std::string_view name) {
    return call(L"Counter", args(name)).get().lVal;
}

std::vector<std::string> TestHostClient::puts() {
    return lines(L"Puts");
}

void TestHostClient::leaveRunningTable() {
    call(L"LeaveRunningTable");
}

void TestHostClient::quit() {
    call(L"Quit");
    m_control.reset();
}

}  // namespace testhost
