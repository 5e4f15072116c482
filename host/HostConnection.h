#pragma once

// Host adapters by ProgID. The launcher registers the adapter it wants to run
// against; the tool connects by name only and never knows which one it got.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "host/Host.h"

namespace host {

inline constexpr const char* kProgId = "InDesign.Application.2.0";

class HostRegistry {
public:
    using Factory = std::function<std::shared_ptr<Application>()>;

    // Replaces any adapter registered under the same ProgID.
    void add(const std::string& progId, Factory factory);

    // The application object of the adapter registered under `progId`.
    // Throws HostError when none is registered or the adapter yields no application.
    std::shared_ptr<Application> connect(const std::string& progId) const;

private:
    std::map<std::string, Factory> m_factories;
};

}  // namespace host
