#include <string>

#include "Server.h"
#include "ServerState.h"
#include "TestHostIds.h"
#include "host/HostConnection.h"

namespace testhost {

namespace {

using host::com::ComPtr;
using host::com::textOf;
using host::com::wideOf;

// Activating this class names a program that is not there: a host that cannot be started.
constexpr GUID kMissingHost{
    0x72EBE9A8, 0x6A49, 0x4833, {0x8F, 0xD7, 0x3E, 0xBC, 0x63, 0x9C, 0x62, 0x5F}};
constexpr const char* kMissingProgId = "Quarvel.TestHost.Missing";
constexpr const char* kControlProgId = "Quarvel.TestHost.Control";
// The current profile's ProgIDs: its own version's, and the version-independent one.
constexpr const char* kCurrentProgId = "InDesign.Application.2025";
constexpr const char* kIndependentProgId = "InDesign.Application";

LSTATUS setValue(const std::string& key, const std::wstring& value) {
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, wideOf(key).c_str(), 0, nullptr, 0,
                                     KEY_WRITE, nullptr, &handle, nullptr);
    if (status == ERROR_SUCCESS) {
        status =
            RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
    return status;
}

LSTATUS registerClass(const GUID& classId, const std::string& progId, const std::wstring& program,
                      const std::wstring& description, const std::wstring& options = {}) {
    const std::string key = "CLSID\\" + textOf(classId);
    LSTATUS status = setValue(key, description);
    if (status == ERROR_SUCCESS) {
        status = setValue(key + "\\LocalServer32", L"\"" + program + L"\"" + options);
    }
    if (status == ERROR_SUCCESS) {
        status = setValue(key + "\\ProgID", wideOf(progId));
    }
    if (status == ERROR_SUCCESS) {
        status = setValue(progId + "\\CLSID", wideOf(textOf(classId)));
    }
    return status;
}

}  // namespace

HRESULT registerServer() {
    const std::wstring program = programPath();
    // Registers the libraries, and the marshalling of their interfaces across processes.
    for (const bool current : {false, true}) {
        ComPtr<ITypeLib> library;
        const HRESULT result =
            LoadTypeLibEx(libraryPath(current).c_str(), REGKIND_REGISTER, library.put());
        if (FAILED(result)) {
            return result;
        }
    }
    const std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    LSTATUS status =
        registerClass(CLSID_TestHostApplication, host::kProgId, program, L"Quarvel test host");
    if (status == ERROR_SUCCESS) {
        status = registerClass(CLSID_TestHostControl, kControlProgId, program,
                               L"Quarvel test host control");
    }
    if (status == ERROR_SUCCESS) {
        status = registerClass(CLSID_TestHostCurrentApplication, kCurrentProgId, program,
                               L"Quarvel test host, current profile", L" /current");
    }
    // The version-independent name points at the newest version, as an installer leaves it.
    if (status == ERROR_SUCCESS) {
        status = setValue(std::string(kIndependentProgId) + "\\CLSID",
                          wideOf(textOf(CLSID_TestHostCurrentApplication)));
    }
    if (status == ERROR_SUCCESS) {
        status = setValue(std::string(kIndependentProgId) + "\\CurVer", wideOf(kCurrentProgId));
    }
    if (status == ERROR_SUCCESS) {
        status = registerClass(kMissingHost, kMissingProgId, folder + L"no-such-host.exe",
                               L"Quarvel test host that cannot start");
    }
    return HRESULT_FROM_WIN32(status);
}

HRESULT unregisterServer() {
    UnRegisterTypeLib(LIBID_QuarvelTestHost, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
    UnRegisterTypeLib(LIBID_QuarvelTestHostCurrent, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
    for (const GUID* classId : {&CLSID_TestHostApplication, &CLSID_TestHostControl, &kMissingHost,
                                &CLSID_TestHostCurrentApplication}) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, wideOf("CLSID\\" + textOf(*classId)).c_str());
    }
    for (const char* progId :
         {host::kProgId, kControlProgId, kMissingProgId, kCurrentProgId, kIndependentProgId}) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, wideOf(progId).c_str());
    }
    return S_OK;
}

}  // namespace testhost
