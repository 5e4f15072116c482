#pragma once

// The host the tool connects to. The launcher chooses it once: the live host's
// automation adapter under its ProgID, or a document adapter under its own
// name; the tool connects without a name and never knows which one it got.

#include <functional>
#include <memory>
#include <string>

#include "host/Host.h"

namespace host {

// The live host's ProgID, under which its automation server is registered.
inline constexpr const char* kProgId = "InDesign.Application.2.0";

class HostConnection {
public:
    using Factory = std::function<std::shared_ptr<Application>()>;

    // Makes the tool connect through `factory`, replacing any earlier choice;
    // `name` says in error reports which host it is.
    void choose(std::string name, Factory factory);

    // The application object of the chosen host. Throws HostError when no
    // host was chosen (naming the live host, which the tool looks for then)
    // or the adapter yields no application.
    std::shared_ptr<Application> connect() const;

    // The chosen host's name; the live host's ProgID before a choice.
    const std::string& name() const { return m_name; }

private:
    std::string m_name = kProgId;
    Factory m_factory;
};

}  // namespace host
