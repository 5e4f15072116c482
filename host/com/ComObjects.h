#pragma once

// The host's objects as the tool's host interface (host/Host.h) over IDispatch.

#include <memory>
#include <string>

#include "host/Host.h"
#include "host/com/Dispatch.h"

namespace host::com {

// The application object `object` of the host; throws HostError unless it supports the
// application interface.
std::shared_ptr<Application> makeApplication(std::shared_ptr<Connection> connection,
                                             ComPtr<IDispatch> object);

}  // namespace host::com

namespace host::com {

// A spread from the host (`operation` names the call that gave it); it must support the spread
// interface.
std::shared_ptr<Spread> makeSpread(std::shared_ptr<Connection> connection, const VARIANT& value,
                                   const std::string& operation);
// A spread's page items; they must support the page-items collection interface.
std::shared_ptr<PageItems> makePageItems(std::shared_ptr<Connection> connection,
                                         const VARIANT& value, const std::string& operation);
// Throws HostError unless `object` supports interface `iid` (`what` names the object, `name`
// the interface, for the message).
void requireInterface(HostObject& object, const GUID& iid, const std::string& what,
                      const char* name);

}  // namespace host::com
