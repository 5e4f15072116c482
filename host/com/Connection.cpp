#include "host/com/Connection.h"

#include <algorithm>
#include <cwctype>

#include "host/HostError.h"
#include "host/com/HostErrors.h"

namespace host::com {

namespace {

constexpr auto kBusyRetryDelay = std::chrono::milliseconds(100);
// More classes than an object model has: type descriptions kept with their names.
constexpr std::size_t kClassesKept = 64;

// Basic's TypeName drops the underscore that marks a class's default interface ("_Polygon").
std::string typeNameOf(std::string interfaceName) {
    if (interfaceName.size() > 1 && interfaceName.front() == '_') {
        interfaceName.erase(0, 1);
    }
    return interfaceName;
}

std::wstring lowerCase(const wchar_t* name) {
    std::wstring lower(name);
    for (wchar_t& letter : lower) {
        letter = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(letter)));
    }
    return lower;
}

}  // namespace

HostRef::HostRef(std::shared_ptr<Connection> connection, ComPtr<IDispatch> object)
    : m_connection(std::move(connection)), m_object(std::move(object)) {
    if (m_connection->closed()) {
        m_object.reset();
    } else {
        m_connection->m_refs.insert(this);
    }
}

HostRef::~HostRef() {
    m_connection->m_refs.erase(this);
}

IDispatch* HostRef::get() const {
    if (!m_object) {
        throw HostError("The connection to the host has ended.");
    }
    return m_object.get();
}

bool Connection::isBusy(HRESULT result) {
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

bool Connection::waitWhileBusy(std::chrono::steady_clock::time_point start) {
    const auto waited = std::chrono::steady_clock::now() - start;
    if (waited >= m_options.busyWait) {
        return false;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_options.busyWait - waited);
    Sleep(static_cast<DWORD>(std::min(left, kBusyRetryDelay).count()) + 1);
    return true;
}

HRESULT Connection::lookUp(IDispatch* object, const std::string& interfaceKey, const wchar_t* name,
                           DISPID& id) {
    const auto key = std::make_pair(interfaceKey, lowerCase(name));
    if (const auto known = m_memberIds.find(key); known != m_memberIds.end()) {
        id = known->second;
        return S_OK;
    }
    id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    const HRESULT result = send([&] {
        ++m_counts.nameLookups;
        return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    });
    if (SUCCEEDED(result)) {
        m_memberIds.emplace(key, id);
    }
    return result;
}

std::optional<DISPID> Connection::renamedId(const std::string& interfaceKey,
                                            const wchar_t* code) const {
    const auto found = m_renamedIds.find(std::make_pair(interfaceKey, std::wstring(code)));
    if (found == m_renamedIds.end()) {
        return std::nullopt;
    }
    return found->second;
}

void Connection::rename(const std::string& interfaceKey, const wchar_t* code, DISPID id) {
    m_renamedIds[std::make_pair(interfaceKey, std::wstring(code))] = id;
}

std::string Connection::className(IDispatch* object, const std::string& operation) {
    std::string name;
    const HRESULT result = askClassName(object, name);
    if (FAILED(result)) {
        throwCallFailed(operation, result);
    }
    if (name.empty()) {
        throw HostError("The host call " + operation + " gave no type information.");
    }
    return name;
}

std::optional<std::string> Connection::classNameIfAny(IDispatch* object,
                                                      const std::string& operation) {
    std::string name;
    const HRESULT result = askClassName(object, name);
    if (isBusy(result)) {
        throwCallFailed(operation, result);
    }
    if (FAILED(result) || name.empty()) {
        return std::nullopt;
    }
    return name;
}

HRESULT Connection::askClassName(IDispatch* object, std::string& className) {
    ComPtr<ITypeInfo> info;
    HRESULT result = send([&] {
        ++m_counts.typeQueries;
        return object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put());
    });
    if (FAILED(result) || !info) {
        return result;
    }
    for (const auto& [known, name] : m_classNames) {
        if (known.get() == info.get()) {
            className = name;
            return S_OK;
        }
    }
    Bstr name;
    result = send([&] {
        ++m_counts.typeQueries;
        return info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
    });
    if (FAILED(result)) {
        return result;
    }
    className = typeNameOf(utf8Of(name.get()));
    // A host that makes a new description for every object would otherwise pile them up here.
    if (m_classNames.size() < kClassesKept) {
        m_classNames.emplace_back(std::move(info), className);
    }
    return S_OK;
}

void Connection::close() {
    m_closed = true;
    for (HostRef* ref : m_refs) {
        ref->m_object.reset();
    }
    m_refs.clear();
    m_classNames.clear();
    m_memberIds.clear();
    m_renamedIds.clear();
}

}  // namespace host::com
