#pragma once

// The host's objects as the tool's host interface (host/Host.h) over IDispatch.

#include <memory>
#include <optional>
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

// Where a page's top-left corner lies in the coordinates the host gives bounds in (its ruler
// coordinates), host units. Page items are handed to the tool from that corner.
struct Origin {
    double top = 0;
    double left = 0;
};

// A spread from the host (`operation` names the call that gave it); it must support the spread
// interface.
std::shared_ptr<Spread> makeSpread(std::shared_ptr<Connection> connection, const VARIANT& value,
                                   const std::string& operation);
// A spread's or a page's items, their bounds taken from `origin` (none: as the host gives them);
// they must support the page-items collection interface.
std::shared_ptr<PageItems> makePageItems(std::shared_ptr<Connection> connection,
                                         const VARIANT& value, const std::string& operation,
                                         std::optional<Origin> origin);
// Throws HostError unless `object` supports interface `iid`, or, on a host later than 2.0, its
// type information names class `className` (`what` names the object, `name` the interface,
// for the message).
void requireInterface(HostObject& object, const GUID& iid, const char* className,
                      const std::string& what, const char* name);

}  // namespace host::com
