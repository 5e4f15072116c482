#pragma once

// A base for window test fixtures: an event guard that records its error
// reports and the statuses it would leave the event loop with, instead of
// showing a box and leaving it.

#include <string>
#include <vector>

#include "window/form/EventGuard.h"

namespace testing_support {

class RecordingGuard {
protected:
    std::vector<std::string> m_reports;
    std::vector<int> m_ends;
    window::form::EventGuard m_guard{[this](const std::string& text) { m_reports.push_back(text); },
                                     [this](int status) { m_ends.push_back(status); }};
};

}  // namespace testing_support
