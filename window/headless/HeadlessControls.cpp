#include "window/headless/HeadlessControls.h"

#include "window/Design.h"

namespace window::headless {

// PictureData is each backend's own type, and a program may hold another
// backend beside this one, so this one defines none: its pictures point at
// the design's picture rows, which live as long as the program, and own
// nothing. Only designPicture() makes them and only pictureName() looks
// through them, converting back to the row they came from.
Picture designPicture(std::string_view name) {
    const PictureDesign& row = pictureDesign(name);
    const void* address = &row;
    return Picture(Picture(), static_cast<const PictureData*>(address));
}

std::string_view pictureName(const Picture& picture) {
    if (!picture) {
        return {};
    }
    const void* address = picture.get();
    return static_cast<const PictureDesign*>(address)->name;
}

}  // namespace window::headless
