#pragma once

// The batch mode: the tool's Reflect without a window and without a display.
// The window's own logic (Form1) runs on the headless toolkit backend, with
// the user's clicks given in order: the vertical arrow for top-bottom, then
// Reflect Page (Forget about it on a dry run).

#include <ostream>

#include "app/CommandLine.h"

namespace app {

// Runs the batch mode for `line` (Action::Reflect): each FILE in turn, each on
// its own as if it were the only document open; without a FILE, one run with
// no document at all. Prints each document's tables to `out` (text, or one
// JSON array) and every error to `err`. A document that fails is left as it
// was, and the others go on. Returns the exit status: 0 when every document
// was done, 1 otherwise.
int runBatch(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace app
