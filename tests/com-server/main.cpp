// quarvel_test_host: an automation server that plays the host application for the tests (a
// LocalServer32 program; never installed). Documents come from sheets the tests load through
// its control object.
//
//   quarvel_test_host /regserver      register it (and its type library) in the registry
//   quarvel_test_host /unregserver    remove that again
//   quarvel_test_host [/current] [-Embedding]    serve, as COM starts it
//
// It plays InDesign 2.0 unless started with "/current" (as COM starts the current profile's
// class) or with QUARVEL_TEST_HOST_PROFILE=current in its environment (as a test's environment
// reaches a server COM starts for it): then a current InDesign.

#include <cwchar>
#include <iterator>

#include <windows.h>

#include <shellapi.h>

#include "Server.h"

namespace {

bool isOption(const wchar_t* argument, const wchar_t* name) {
    return (argument[0] == L'/' || argument[0] == L'-') && _wcsicmp(argument + 1, name) == 0;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    int status = 0;
    if (count > 1 && isOption(arguments[1], L"regserver")) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        status = SUCCEEDED(testhost::registerServer()) ? 0 : 1;
        CoUninitialize();
    } else if (count > 1 && isOption(arguments[1], L"unregserver")) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        status = SUCCEEDED(testhost::unregisterServer()) ? 0 : 1;
        CoUninitialize();
    } else {
        bool current = false;
        for (int index = 1; index < count; ++index) {
            current = current || isOption(arguments[index], L"current");
        }
        wchar_t profile[16] = {};
        const DWORD length =
            GetEnvironmentVariableW(L"QUARVEL_TEST_HOST_PROFILE", profile, std::size(profile));
        current = current ||
                  (length > 0 && length < std::size(profile) && _wcsicmp(profile, L"current") == 0);
        status = testhost::serve(current);
    }
    LocalFree(arguments);
    return status;
}
