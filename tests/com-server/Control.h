#pragma once

// The control object through which a test sets the host up, injects failures and reads the
// documents, the call log and the counters back (TestHost.idl, dispinterface Control).

#include "host/com/ComTypes.h"

namespace testhost {

IDispatch* makeControl();
// Whether `object` is a control object: its calls are the tests', not the tool's.
bool isControl(const IUnknown* object);

}  // namespace testhost
