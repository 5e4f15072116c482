#pragma once

#include <stdexcept>
#include <string>

namespace host::sla::file {

// A file cannot be read or replaced. The message is the reason in a few words,
// meant to follow "Cannot open "NAME": " or "Cannot save "NAME": ".
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Ends a read or a save that cannot go on, with `reason`.
[[noreturn]] inline void fail(const std::string& reason) {
    throw FileError(reason);
}

}  // namespace host::sla::file
