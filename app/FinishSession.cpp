#include "app/FinishSession.h"

#include <exception>

#include "host/SessionEnd.h"

namespace app {

int finishSession(int status, host::SessionEnd* session,
                  const std::function<void(const std::string&)>& report) {
    if (!session) {
        return status;
    }
    if (status != 0) {
        session->endAfterError();
        return status;
    }
    try {
        session->endNormally();
    } catch (const std::exception& error) {
        report(error.what());
        return 1;
    }
    return 0;
}

void discardSession(host::SessionEnd* session) {
    if (session) {
        session->endAfterError();
    }
}

}  // namespace app
