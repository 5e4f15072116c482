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
    result =
        CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, instance.putVoid());
    if (FAILED(result) || !instance) {
        throw HostError(prefix + "it is not running and could not be started: " +
                        systemDescription(result) + " (HRESULT " + hresultText(result) + ").");
    }
    return instance;
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
    ComPtr<IUnknown> instance = findOrStart(progId);
    ComPtr<IDispatch> application;
    const HRESULT result = instance->QueryInterface(IID_IDispatch, application.putVoid());
    if (FAILED(result)) {
        throw HostError("Cannot connect to \"" + progId +
                        "\": it offers no automation interface (HRESULT " + hresultText(result) +
                        ").");
    }
    return makeApplication(m_state->connection, std::move(application));
}

ComCallCounts ComSession::counts() const {
    return m_state->connection->counts();
}

void ComSession::resetCounts() {
    m_state->connection->counts() = ComCallCounts{};
}

void registerComHost(HostConnection& connection, ComSession& session, const std::string& progId) {
    connection.choose(progId, [&session, progId] { return session.connect(progId); });
}

}  // namespace host::com
