// quarvel_design: prints the designed place of every shown control and of the
// window itself, one "NAME LEFT TOP WIDTH HEIGHT" line each, in window units,
// straight from the window's one design table. Scripts that point at controls
// (the headless run, the end-to-end tests) read it instead of keeping copies.

#include <iostream>

#include "window/Design.h"

int main() {
    std::cout << "window 0 0 " << window::kClientWidth << ' ' << window::kClientHeight << '\n';
    for (const window::ControlDesign& control : window::designedControls()) {
        if (control.kind == window::ControlKind::PictureSource) {
            continue;
        }
        const window::Box& box = control.box;
        std::cout << control.name << ' ' << box.left << ' ' << box.top << ' ' << box.width << ' '
                  << box.height << '\n';
    }
    return 0;
}
