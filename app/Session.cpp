#include "app/Session.h"

#include <exception>

#include "host/sla/SlaHost.h"

namespace app {

int finishSession(int status, host::sla::SlaHost* documents,
                  const std::function<void(const std::string&)>& report) {
    if (status != 0 || !documents) {
        return status;
    }
    try {
        documents->saveChanged();
    } catch (const std::exception& error) {
        report(error.what());
        return 1;
    }
    return 0;
}

}  // namespace app
