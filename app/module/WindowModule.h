#pragma once

// The window is a module of its own (app/qt, quarvel-window.so) that the
// launcher loads only when the window is asked for, so that the batch mode,
// --help and --version never load Qt. The module lies beside the program in a
// build tree, and in the program's own library folder in an install. POSIX
// (dlopen).

#include <stdexcept>

namespace app::module {

// The module's one entry: main()'s arguments in, the exit status out.
using WindowEntry = int (*)(int argc, char* argv[]);
inline constexpr const char* kWindowEntry = "quarvel_window_main";
inline constexpr const char* kWindowModuleFile = "quarvel-window.so";

// The module cannot be found or loaded; the text says which file and why.
class ModuleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Loads the window module and returns its entry. The module stays loaded until
// the process ends.
WindowEntry loadWindow();

}  // namespace app::module
