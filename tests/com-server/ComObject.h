#pragma once

// The test host's COM objects: the adapter's own (reference counting, interface answers) and a
// count of the objects alive, so that tests can see that the tool released what it was given.

#include "host/com/ComObject.h"

namespace testhost {

// Objects of the host alive now (class factories and the control not counted).
long liveObjects();

using host::com::ComObject;

// Counts itself among the live objects.
class Counted {
public:
    Counted();
    ~Counted();
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
};

}  // namespace testhost
