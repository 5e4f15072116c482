#include "ServerState.h"

#include <cwctype>

#include "host/memory/SheetText.h"

namespace testhost {

namespace {

std::wstring lowerCase(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& letter : lower) {
        letter = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(letter)));
    }
    return lower;
}

}  // namespace

void ServerState::load(const std::string& sheet) {
    auto fresh = std::make_unique<host::MemoryHost>();
    host::memory::loadSheet(*fresh, sheet);
    host = std::move(fresh);
    refused.clear();
    garbled.clear();
    hidden.clear();
    hiddenIds.clear();
    boundsForm = "doubles0";
    busyCalls = 0;
    zeroTop = 0;
    zeroLeft = 0;
    counters.clear();
    puts.clear();
}

std::string ServerState::lastCall() const {
    const auto& calls = host->calls();
    return calls.empty() ? std::string() : calls.back();
}

void ServerState::hide(std::wstring_view member) {
    hidden.insert(lowerCase(member));
    std::wstring name(member);
    LPOLESTR names[] = {name.data()};
    for (const auto& [interfaceName, info] : current ? currentTypeInfos : typeInfos) {
        MEMBERID id = MEMBERID_NIL;
        if (SUCCEEDED(info->GetIDsOfNames(names, 1, &id))) {
            hiddenIds.insert(id);
        }
    }
}

bool ServerState::isHidden(std::wstring_view member) const {
    return hidden.count(lowerCase(member)) != 0;
}

ITypeInfo* ServerState::typeInfo(const std::wstring& name) const {
    const auto& infos = current && name != L"Control" ? currentTypeInfos : typeInfos;
    const auto found = infos.find(name);
    return found == infos.end() ? nullptr : found->second.get();
}

ServerState& state() {
    static ServerState server;
    return server;
}

std::wstring programPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring program(path, length);
    const std::wstring_view longPath = L"\\\\?\\";
    if (program.rfind(longPath, 0) == 0) {
        program.erase(0, longPath.size());
    }
    return program;
}

std::wstring libraryPath(bool current) {
    return programPath() + (current ? L"\\2" : L"");
}

namespace {

HRESULT loadLibrary(bool current, host::com::ComPtr<ITypeLib>& library,
                    std::map<std::wstring, host::com::ComPtr<ITypeInfo>>& infos) {
    const HRESULT result = LoadTypeLibEx(libraryPath(current).c_str(), REGKIND_NONE, library.put());
    if (FAILED(result)) {
        return result;
    }
    const UINT count = library->GetTypeInfoCount();
    for (UINT index = 0; index < count; ++index) {
        host::com::ComPtr<ITypeInfo> info;
        host::com::Bstr name;
        if (SUCCEEDED(library->GetTypeInfo(index, info.put())) &&
            SUCCEEDED(library->GetDocumentation(static_cast<INT>(index), name.put(), nullptr,
                                                nullptr, nullptr))) {
            infos[std::wstring(name.view())] = info;
        }
    }
    return S_OK;
}

}  // namespace

HRESULT loadTypeLibrary() {
    ServerState& server = state();
    const HRESULT result = loadLibrary(false, server.typeLibrary, server.typeInfos);
    if (FAILED(result) || !server.current) {
        return result;
    }
    return loadLibrary(true, server.currentLibrary, server.currentTypeInfos);
}

}  // namespace testhost
