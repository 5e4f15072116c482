#pragma once

// A host over document files (the .sla and the IDML adapters): the object
// model, the end of a session, and what a run without a window reports of the
// active document afterwards. The launcher picks the adapter; the rest of the
// tool sees this interface only.

#include "host/Host.h"
#include "host/SessionEnd.h"

namespace host {

class DocumentHost : public Application, public SessionEnd {
public:
    // The place (1-based, in document order) of the page a duplicate added
    // last to the active document; 0 when none was added.
    virtual int lastAddedPage() const = 0;
};

}  // namespace host
