#include "host/HostConnection.h"

#include "host/HostError.h"

namespace host {

void HostConnection::choose(std::string name, Factory factory) {
    m_name = std::move(name);
    m_factory = std::move(factory);
}

std::shared_ptr<Application> HostConnection::connect() const {
    if (!m_factory) {
        throw HostError("Cannot connect to \"" + m_name + "\": no such host is available.");
    }
    auto application = m_factory();
    if (!application) {
        throw HostError("Cannot connect to \"" + m_name + "\": the host gave no application.");
    }
    return application;
}

}  // namespace host
