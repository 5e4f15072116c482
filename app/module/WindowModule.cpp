#include "app/module/WindowModule.h"

#include <dlfcn.h>

#include <array>
#include <filesystem>
#include <string>
#include <system_error>

namespace app::module {

namespace {

namespace fs = std::filesystem;

// The folder of the running program itself, symbolic links resolved, so the
// module is found wherever the program was installed or started from.
fs::path programFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        throw ModuleError("Quarvel cannot find its own program file: " + error.message());
    }
    return program.parent_path();
}

WindowEntry entryOf(const fs::path& file) {
    // RTLD_LAZY binds Qt's functions on their first call, as a program linked
    // to Qt does; RTLD_LOCAL keeps the module's names to itself.
    void* handle = dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (handle == nullptr) {
        throw ModuleError("Quarvel cannot load its window (" + file.string() + "): " + dlerror());
    }
    void* entry = dlsym(handle, kWindowEntry);
    if (entry == nullptr) {
        throw ModuleError("Quarvel's window module " + file.string() +
                          " is not the one this program was built with; reinstall Quarvel.");
    }
    // POSIX guarantees that dlsym's object pointer converts to a function pointer.
    return reinterpret_cast<WindowEntry>(entry);
}

}  // namespace

WindowEntry loadWindow() {
    const fs::path folder = programFolder();
    // QUARVEL_MODULE_FROM_PROGRAM: the way from the installed program's folder
    // to the module's, as the build configured the install.
    const std::array places{folder, (folder / QUARVEL_MODULE_FROM_PROGRAM).lexically_normal()};
    for (const fs::path& place : places) {
        std::error_code error;
        if (fs::is_regular_file(place / kWindowModuleFile, error)) {
            return entryOf(place / kWindowModuleFile);
        }
    }
    throw ModuleError(std::string("Quarvel's window is missing: there is no ") + kWindowModuleFile +
                      " in " + places[1].string() + "; reinstall Quarvel.");
}

}  // namespace app::module
