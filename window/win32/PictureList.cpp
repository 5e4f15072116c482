// Prints the designed pictures for the build, one a line:
//   <name> <source file> <width> <height> opaque|transparent
// Compiled for the build machine and run when the Windows build is
// configured, so that the pictures it renders are those of the design table.

#include <cstdio>

#include "window/Design.h"

int main() {
    for (const window::PictureDesign& picture : window::designedPictures()) {
        std::printf("%.*s %.*s %d %d %s\n", static_cast<int>(picture.name.size()),
                    picture.name.data(), static_cast<int>(picture.file.size()), picture.file.data(),
                    picture.width, picture.height,
                    picture.ground == window::Ground::Opaque ? "opaque" : "transparent");
    }
    return 0;
}
