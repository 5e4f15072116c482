#pragma once

#include <stdexcept>

namespace host {

// Any failure of the host link: no host, a failing call, a missing result or a
// value of the wrong kind. The message is meant for the user.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace host
