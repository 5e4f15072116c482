#pragma once

// The test host process: its class objects, its place in the running object table, the message
// filter that plays a busy host, self-registration, and its lifetime.

#include <string>

#include "host/com/ComTypes.h"

namespace testhost {

// Serves until Quit, or until no call has come in for a long while. Returns the exit status.
int serve();

// Writes the classes, their ProgIDs and the type library into the registry ("/regserver"), or
// removes them ("/unregserver").
HRESULT registerServer();
HRESULT unregisterServer();

// Asked by the control object.
void requestQuit();
void enterRunningTable();
void leaveRunningTable();

}  // namespace testhost
