#pragma once

// The live host over its automation interface (COM, late-bound IDispatch). Windows only; this
// header names no Windows type.
//
// A ComSession belongs to the thread that makes it, the window's thread: it joins a
// single-threaded apartment and installs a message filter that waits for a busy host. When it
// ends it releases every host reference it handed out, wherever that reference still is, and
// leaves the apartment; a host object used after that throws HostError.
//
//     host::com::ComSession session;                   // owned by the launcher
//     host::com::registerComHost(connection, session); // every InDesign, in knownProgIds() order

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/HostConnection.h"
#include "host/SessionEnd.h"

namespace host::com {

struct ComOptions {
    // How long a busy host (a call rejected, or to be retried later) is waited for before the
    // call is reported as failed.
    std::chrono::milliseconds busyWait{30000};
    // Items fetched per round trip when a collection is enumerated.
    unsigned long enumerationBatch = 128;
};

// The calls the adapter made to the host, by kind; across processes each is a round trip.
struct ComCallCounts {
    std::uint64_t invokes = 0;         // gets, puts and methods
    std::uint64_t nameLookups = 0;     // member ids asked by name
    std::uint64_t typeQueries = 0;     // type information and its name
    std::uint64_t identityChecks = 0;  // interface queries
    std::uint64_t fetches = 0;         // batches of a collection's items
    std::uint64_t busyRetries = 0;     // calls sent again because the host was busy
    std::uint64_t total() const {
        return invokes + nameLookups + typeQueries + identityChecks + fetches + busyRetries;
    }
};

class ComSession : public host::SessionEnd {
public:
    // Throws HostError when the thread cannot join a single-threaded apartment.
    explicit ComSession(ComOptions options = {});
    ~ComSession() override;
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;

    // The host's application object: the running instance registered under `progId` first,
    // else one started by activation. Throws HostError, with the reason, when there is none
    // or when it does not support the application interface.
    std::shared_ptr<Application> connect(const std::string& progId);
    // A running instance of any of `progIds` (the running object table, in their order) first,
    // else the first of them that is installed, started by activation; names not installed are
    // skipped. Throws HostError, in one sentence, when none is installed, and as connect() does
    // when the one chosen fails.
    std::shared_ptr<Application> connectFirst(const std::vector<std::string>& progIds);

    // A live host keeps what the tool did as it did it: neither end has anything to save.
    // The references go with the session.
    void endNormally() override {}
    void endAfterError() noexcept override {}

    ComCallCounts counts() const;
    void resetCounts();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The ProgIDs of every InDesign the tool speaks to, in the order they are tried: 2.0 (whose
// object model the tool was made for), the version-independent name (the newest installed), then
// the versions from the newest (2026) to the oldest (CS).
const std::vector<std::string>& knownProgIds();

// Makes `connection` connect through `session`: to the host `progId` names, or when it is empty
// to the first of knownProgIds() found, as connectFirst() finds it. `session` must outlive that
// use.
void registerComHost(HostConnection& connection, ComSession& session,
                     const std::string& progId = {});

}  // namespace host::com
