#include <string>
#include <utility>
#include <vector>

#include "host/HostError.h"
#include "host/com/ComHost.h"
#include "host/com/ComObjects.h"
#include "host/com/HostErrors.h"
#include "host/com/MessageFilter.h"

namespace host::com {

struct ComSession::State {
    std::shared_ptr<Connection> connection;
    ComPtr<IMessageFilter> previousFilter;
    bool filterInstalled = false;
};

namespace {

ComPtr<IUnknown> start(const std::string& progId, const CLSID& classId) {
    ComPtr<IUnknown> instance;
    const HRESULT result =
        CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, instance.putVoid());
    if (FAILED(result) || !instance) {
        throw HostError("Cannot connect to \"" + progId +
                        "\": it is not running and could not be started: " +
                        systemDescription(result) + " (HRESULT " + hresultText(result) + ").");
    }
    return instance;
}

// The running instance from the running object table, else a new one by activation.
ComPtr<IUnknown> findOrStart(const std::string& progId) {
    const std::string prefix = "Cannot connect to \"" + progId + "\": ";
    CLSID classId{};
    HRESULT result = CLSIDFromProgID(wideOf(progId).c_str(), &classId);
    if (FAILED(result)) {
        throw HostError(prefix + "it is not installed on this computer (HRESULT " +
                        hresultText(result) + ").");
    }
    ComPtr<IUnknown> instance;
    if (SUCCEEDED(GetActiveObject(classId, nullptr, instance.put())) && instance) {
        return instance;
    }
    return start(progId, classId);
}

// A running instance of any of `progIds` first, in their order, else the first installed one
// started; the name connected to goes to `connected`.
ComPtr<IUnknown> findOrStartFirst(const std::vector<std::string>& progIds, std::string& connected) {
    std::vector<std::pair<std::string, CLSID>> installed;
    for (const std::string& progId : progIds) {
        CLSID classId{};
        if (SUCCEEDED(CLSIDFromProgID(wideOf(progId).c_str(), &classId))) {
            installed.emplace_back(progId, classId);
        }
    }
    if (installed.empty()) {
        throw HostError(
            "No InDesign was found on this computer: Quarvel needs InDesign running or "
            "installed.");
    }
    for (const auto& [progId, classId] : installed) {
        ComPtr<IUnknown> instance;
        if (SUCCEEDED(GetActiveObject(classId, nullptr, instance.put())) && instance) {
            connected = progId;
            return instance;
        }
    }
    connected = installed.front().first;
    return start(installed.front().first, installed.front().second);
}

std::shared_ptr<Application> applicationOf(std::shared_ptr<Connection> connection,
                                           const ComPtr<IUnknown>& instance,
                                           const std::string& progId) {
    ComPtr<IDispatch> application;
    const HRESULT result = instance->QueryInterface(IID_IDispatch, application.putVoid());
    if (FAILED(result)) {
        throw HostError("Cannot connect to \"" + progId +
                        "\": it offers no automation interface (HRESULT " + hresultText(result) +
                        ").");
    }
    return makeApplication(std::move(connection), std::move(application));
}

}  // namespace

ComSession::ComSession(ComOptions options) : m_state(std::make_unique<State>()) {
    m_state->connection = std::make_shared<Connection>(options);
    const ComPtr<IMessageFilter> filter = makeBusyFilter(options.busyWait);
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(result)) {
        throw HostError(
            "This thread cannot drive the host: it cannot join a single-threaded "
            "apartment (HRESULT " +
            hresultText(result) + ").");
    }
    m_state->filterInstalled =
        SUCCEEDED(CoRegisterMessageFilter(filter.get(), m_state->previousFilter.put()));
}

ComSession::~ComSession() {
    m_state->connection->close();
    if (m_state->filterInstalled) {
        ComPtr<IMessageFilter> ours;
        CoRegisterMessageFilter(m_state->previousFilter.get(), ours.put());
    }
    m_state->previousFilter.reset();
    CoUninitialize();
}

std::shared_ptr<Application> ComSession::connect(const std::string& progId) {
    return applicationOf(m_state->connection, findOrStart(progId), progId);
}

std::shared_ptr<Application> ComSession::connectFirst(const std::vector<std::string>& progIds) {
    std::string connected;
    ComPtr<IUnknown> instance = findOrStartFirst(progIds, connected);
    return applicationOf(m_state->connection, instance, connected);
}

ComCallCounts ComSession::counts() const {
    return m_state->connection->counts();
}

void ComSession::resetCounts() {
    m_state->connection->counts() = ComCallCounts{};
}

const std::vector<std::string>& knownProgIds() {
    static const std::vector<std::string> progIds = [] {
        std::vector<std::string> names{kProgId, "InDesign.Application"};
        for (int year = 2026; year >= 2020; --year) {
            names.push_back("InDesign.Application." + std::to_string(year));
        }
        for (int year = 2019; year >= 2014; --year) {
            names.push_back("InDesign.Application.CC." + std::to_string(year));
        }
        names.push_back("InDesign.Application.CC");
        for (int version = 6; version >= 2; --version) {
            names.push_back("InDesign.Application.CS" + std::to_string(version));
        }
        names.push_back("InDesign.Application.CS");
        return names;
    }();
    return progIds;
}

void registerComHost(HostConnection& connection, ComSession& session, const std::string& progId) {
    connection.choose(progId.empty() ? std::string(kProgId) : progId, [&session, progId] {
        return progId.empty() ? session.connectFirst(knownProgIds()) : session.connect(progId);
    });
}

}  // namespace host::com
