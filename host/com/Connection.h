#pragma once

// What every host object of one session shares: the options, the call counts, the member ids and
// type names already asked, which object model the host speaks, the busy wait, and the register
// of references still held, so that the session's end can release them all.

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/com/ComHost.h"
#include "host/com/ComTypes.h"

namespace host::com {

class Connection;

// One reference to a host object. It is released when the holder goes or when the connection
// closes, whichever comes first; after that get() throws HostError.
class HostRef {
public:
    HostRef(std::shared_ptr<Connection> connection, ComPtr<IDispatch> object);
    ~HostRef();
    HostRef(const HostRef&) = delete;
    HostRef& operator=(const HostRef&) = delete;

    IDispatch* get() const;
    Connection& connection() const { return *m_connection; }
    const std::shared_ptr<Connection>& shared() const { return m_connection; }

private:
    friend class Connection;
    std::shared_ptr<Connection> m_connection;
    ComPtr<IDispatch> m_object;
};

class Connection {
public:
    explicit Connection(const ComOptions& options) : m_options(options) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const ComOptions& options() const { return m_options; }
    ComCallCounts& counts() { return m_counts; }

    // Makes `call`, and makes it again while the host answers that it is busy, until the
    // options' busy wait has passed since the first attempt. Returns the last answer.
    template <class Call>
    HRESULT send(Call&& call) {
        const auto start = std::chrono::steady_clock::now();
        while (true) {
            const HRESULT result = call();
            if (!isBusy(result) || !waitWhileBusy(start)) {
                return result;
            }
            ++m_counts.busyRetries;
        }
    }
    static bool isBusy(HRESULT result);

    // The id of member `name` of `object`, asked once per interface (`interfaceKey`); names are
    // compared without case, as COM does. Returns the host's answer to the lookup.
    HRESULT lookUp(IDispatch* object, const std::string& interfaceKey, const wchar_t* name,
                   DISPID& id);
    // The id found by name for a four-character id the interface did not know.
    std::optional<DISPID> renamedId(const std::string& interfaceKey, const wchar_t* code) const;
    void rename(const std::string& interfaceKey, const wchar_t* code, DISPID id);

    // Whether the host is InDesign 2.0, whose application has the object model's identity: its
    // references are checked by identity only and its angles and bounds passed on as they are.
    // Any other host is a later version (known by its classes' names).
    bool original() const { return m_original; }
    void setOriginal(bool original) { m_original = original; }
    // The class name from the object's type information, as Basic's TypeName gives it.
    std::string className(IDispatch* object, const std::string& operation);
    // The same, or nothing when the object gives no type information (a busy host still throws).
    std::optional<std::string> classNameIfAny(IDispatch* object, const std::string& operation);

    // Releases every reference still held and everything remembered of the host.
    void close();
    bool closed() const { return m_closed; }

private:
    friend class HostRef;
    bool waitWhileBusy(std::chrono::steady_clock::time_point start);
    // The class name, "" when the type information has none; the host's answer.
    HRESULT askClassName(IDispatch* object, std::string& className);

    ComOptions m_options;
    ComCallCounts m_counts;
    bool m_closed = false;
    bool m_original = true;
    std::unordered_set<HostRef*> m_refs;
    std::map<std::pair<std::string, std::wstring>, DISPID> m_memberIds;  // name in lower case
    std::map<std::pair<std::string, std::wstring>, DISPID> m_renamedIds;
    // The host hands out the same type description for every object of a class, which arrives
    // as the same proxy: kept here, its name is asked once.
    std::vector<std::pair<ComPtr<ITypeInfo>, std::string>> m_classNames;
};

}  // namespace host::com
