#pragma once

// Times the window's handlers in this process over the in-memory host and
// prints the medians as key=value lines. Needs a QApplication.

namespace bench {

void runHandlers(int rectangles, int runs);

}  // namespace bench
