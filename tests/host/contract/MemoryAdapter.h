#pragma once

// The in-memory host as a contract fixture: builds the sheet through the
// model's own calls and reports angles exactly as put.

#include <memory>
#include <string>

#include "host/contract/Sheet.h"
#include "host/memory/MemoryHost.h"

namespace contract {

class MemoryAdapter {
public:
    std::shared_ptr<host::Application> open(const Sheet& sheet);
    std::shared_ptr<host::Application> openEmpty() { return m_host.application(); }
    std::string nameOf(host::PageItem& item) { return host::labelOf(item); }
    double reported(double degrees) const { return degrees; }

private:
    host::MemoryHost m_host;
};

}  // namespace contract
