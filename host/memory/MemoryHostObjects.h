#pragma once

// The state behind a MemoryHost and the host objects it hands out: thin views on the model that
// record each call and apply injected failures before the call takes effect.

#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/memory/MemoryHostModel.h"

namespace host::memory {

// Fails the `occurrence`-th call named `call` after the rule was made (1-based), or every one
// when `occurrence` is 0.
struct FailRule {
    std::string call;
    int occurrence = 0;
    int seen = 0;
};

struct HostState {
    std::vector<std::shared_ptr<MemoryDocument>> documents;
    MemoryDocument* activeDocument = nullptr;
    bool windowOpen = false;
    MemorySpread* windowSpread = nullptr;  // null: the window shows no spread
    std::vector<std::string> calls;
    std::vector<FailRule> failures;

    // Records `call` and throws HostError when a rule fails it.
    void enter(const std::string& call);
};

std::shared_ptr<Application> makeApplication(std::shared_ptr<HostState> state);

// The label of the model item behind `item`; throws std::invalid_argument for another host's.
std::string itemLabel(const PageItem& item);

}  // namespace host::memory
