#pragma once

// The test host process: its class objects, its place in the running object table, the message
// filter that plays a busy host, self-registration, and its lifetime.

#include <string>

#include "host/com/ComTypes.h"

namespace testhost {

// Serves, playing a current InDesign when `current` and InDesign 2.0 otherwise, until Quit or
// until no call has come in for a long while. Returns the exit status.
int serve(bool current);

// Writes the classes of both profiles, their ProgIDs and the type libraries into the registry
// ("/regserver"), or removes them ("/unregserver"). The 2.0 profile's class is
// "InDesign.Application.2.0"; the current one's "InDesign.Application.2025" and the
// version-independent "InDesign.Application", and its server is started with "/current".
HRESULT registerServer();
HRESULT unregisterServer();

// Asked by the control object.
void requestQuit();
void enterRunningTable();
// The class this process serves: the profile's application.
const CLSID& applicationClass();
void leaveRunningTable();

}  // namespace testhost
