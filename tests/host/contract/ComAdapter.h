#pragma once

// The live host's adapter as a contract fixture: the sheet is loaded into the test host
// (tests/com-server), which runs in its own process, and the adapter connects to it through COM
// as the tool does. The test host keeps the in-memory model's angles, exactly as put.

#include <memory>
#include <string>

#include "TestHostClient.h"
#include "host/com/ComHost.h"
#include "host/contract/Sheet.h"

namespace contract {

class ComAdapter {
public:
    ComAdapter();

    std::shared_ptr<host::Application> open(const Sheet& sheet);
    std::shared_ptr<host::Application> openEmpty();
    // The host logs each call under the item's name: a type name asked shows it.
    std::string nameOf(host::PageItem& item);
    // As put for 2.0; a current host's (-180, 180] brought into [0, 360) by the adapter.
    double reported(double degrees) const;

private:
    testhost::TestHostClient& m_testHost;
    host::com::ComSession m_session;
};

}  // namespace contract
