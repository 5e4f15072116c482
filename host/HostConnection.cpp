#include "host/HostRegistry.h"

#include "host/HostError.h"

namespace host {

void HostRegistry::add(const std::string& progId, Factory factory) {
    m_factories[progId] = std::move(factory);
}

std::shared_ptr<Application> HostRegistry::connect(const std::string& progId) const {
    const auto found = m_factories.find(progId);
    if (found == m_factories.end()) {
        throw HostError("Cannot connect to \"" + progId + "\": no such host is available.");
    }
    auto application = found->second();
    if (!application) {
        throw HostError("Cannot connect to \"" + progId + "\": the host gave no application.");
    }
    return application;
}

}  // namespace host
