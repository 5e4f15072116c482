#pragma once

// Everything the test host knows between calls: the in-memory host that plays the documents,
// what the tests have asked it to do wrongly, its counters, and its type library. One thread, the
// server's apartment, uses it.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/com/ComTypes.h"
#include "host/memory/MemoryHost.h"

namespace testhost {

// The code of every failure the host raises in its exceptions.
inline constexpr HRESULT kHostFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);

struct ServerState {
    // The profile, chosen at start: false plays InDesign 2.0, true a current InDesign (its own
    // identities, members by name only, angles in (-180, 180], a zero point and page Bounds,
    // "GraphicLine", and Duplicate giving the page).
    bool current = false;
    std::unique_ptr<host::MemoryHost> host = std::make_unique<host::MemoryHost>();
    std::set<std::wstring> refused;  // interfaces that objects deny: "Spread"
    std::set<std::string> garbled;   // logged calls that answer with text
    std::set<std::wstring> hidden;   // member names, lower case
    std::set<DISPID> hiddenIds;
    std::string boundsForm = "doubles0";
    long busyCalls = 0;  // incoming calls still to reject
    double zeroTop = 0;  // the current profile's zero point, from the page's corner
    double zeroLeft = 0;
    std::map<std::string, long> counters;
    std::vector<std::string> puts;  // the form of each VisibleBounds put
    host::com::ComPtr<ITypeLib> typeLibrary;
    std::map<std::wstring, host::com::ComPtr<ITypeInfo>> typeInfos;  // by interface name
    // The profile's object model when it is the current one; Control stays in typeInfos.
    host::com::ComPtr<ITypeLib> currentLibrary;
    std::map<std::wstring, host::com::ComPtr<ITypeInfo>> currentTypeInfos;

    // Back to a fresh host holding `sheet`, every setting and counter cleared.
    void load(const std::string& sheet);
    void count(const std::string& counter) { ++counters[counter]; }
    // The last call the host logged, or "" before any.
    std::string lastCall() const;
    void hide(std::wstring_view member);
    bool isHidden(std::wstring_view member) const;
    // The type information of the interface named `name` in the profile's library; null when
    // the library has none.
    ITypeInfo* typeInfo(const std::wstring& name) const;
};

ServerState& state();

// This program's path, without the "\\?\" that Wine puts before a program started by its Unix
// path: the registry gets paths that every loader reads.
std::wstring programPath();

// Loads the type libraries from this program (the current profile's too when it is in force) and
// indexes their interfaces by name.
HRESULT loadTypeLibrary();
// The program itself as its 2.0 library, and its second library resource for the current one.
std::wstring libraryPath(bool current);

}  // namespace testhost
