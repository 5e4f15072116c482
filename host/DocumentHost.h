#pragma once

// A host over document files (the .sla and the IDML adapters): the object
// model, the end of a session, and what a run without a window reports of the
// active document afterwards. The launcher picks the adapter; the rest of the
// tool sees this interface only.

#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/HostError.h"
#include "host/SessionEnd.h"

namespace host {

class DocumentHost : public Application, public SessionEnd {
public:
    // The place (1-based, in document order) of the page a duplicate added
    // last to the active document; 0 when none was added.
    virtual int lastAddedPage() const = 0;
};

// Saves every document of `documents` that changed (each has changed() and
// save(), which throws HostError); files not changed are never touched. Tries
// them all, then throws one HostError naming every failure.
template <class Document>
void saveChangedDocuments(const std::vector<std::shared_ptr<Document>>& documents) {
    std::string failures;
    for (const auto& document : documents) {
        if (!document->changed()) {
            continue;
        }
        try {
            document->save();
        } catch (const HostError& error) {
            failures += (failures.empty() ? "" : "\n") + std::string(error.what());
        }
    }
    if (!failures.empty()) {
        throw HostError(failures);
    }
}

}  // namespace host
