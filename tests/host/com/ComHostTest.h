#pragma once

// A test that drives the test host through the adapter, across processes: each test loads its
// own sheet and opens its own session.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "TestHostClient.h"
#include "host/HostConnection.h"
#include "host/HostError.h"
#include "host/com/ComHost.h"

namespace testhost {

// A session that waits only briefly for a busy host, so that giving up is quick to see.
inline host::com::ComOptions quickOptions() {
    host::com::ComOptions options;
    options.busyWait = std::chrono::milliseconds(1500);
    return options;
}

class ComHostTest : public ::testing::Test {
protected:
    explicit ComHostTest(host::com::ComOptions options = quickOptions())
        : testHost(TestHostClient::get()),
          session(std::make_unique<host::com::ComSession>(options)) {}

    void load(std::string_view sheet) { testHost.load(sheet); }
    // The host of the profile the test host plays.
    std::shared_ptr<host::Application> connect() { return session->connect(testHost.progId()); }

    TestHostClient& testHost;
    std::unique_ptr<host::com::ComSession> session;
};

// The message of the HostError that `call` throws, or "no failure".
inline std::string hostFailure(const std::function<void()>& call) {
    try {
        call();
    } catch (const host::HostError& error) {
        return error.what();
    }
    return "no failure";
}

}  // namespace testhost
