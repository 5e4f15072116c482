// A process that saves, for the fault tests to break: `save_driver open FILE`
// opens FILE; `save_driver save FILE` opens it and saves its new version,
// newVersion() of the text read again. Prints "opened", "saved" or
// "error: REASON" and ends with 0, 0 or 1.

#include <iostream>
#include <string>

#include "SaveDriver.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"

int main(int argc, char** argv) {
    using host::sla::file::DocumentFile;
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "open" && mode != "save") {
        std::cerr << "usage: save_driver open|save FILE\n";
        return 2;
    }
    try {
        host::sla::file::FileText text;
        const auto file = DocumentFile::open(argv[2], text);
        if (mode == "open") {
            std::cout << "opened" << std::endl;
            return 0;
        }
        file->replace([&](host::sla::file::ByteSink& out) {
            const auto source = file->readAgain();
            std::string old;
            char piece[65536];
            for (std::size_t got; (got = source->read(piece, sizeof piece)) > 0;) {
                old.append(piece, got);
            }
            out.write(savetest::newVersion(old));
        });
        std::cout << "saved" << std::endl;
        return 0;
    } catch (const host::sla::file::FileError& error) {
        std::cout << "error: " << error.what() << std::endl;
        return 1;
    }
}
