#include "app/Session.h"

#include <exception>

#include "host/Session.h"

namespace app {

int finishSession(int status, host::Session* session,
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

void discardSession(host::Session* session) {
    if (session) {
        session->endAfterError();
    }
}

}  // namespace app
