#pragma once

// Failures of the tool's own bookkeeping. Every failure the tool can meet is a
// std::exception; the window's one guard turns it into the error report.

#include <stdexcept>

namespace state {

// A page-table row or column outside the table, or an empty cell read.
class TableError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// An integer that would leave its type's range.
class OverflowError : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

// A computed position too far out for a size to survive: subtracting two
// edges there no longer gives the size they must span.
class PrecisionError : public std::range_error {
public:
    using std::range_error::range_error;
};

}  // namespace state
