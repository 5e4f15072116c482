#pragma once

// Points on the window taken from the design table, so that the tests press
// and move where the window really puts a control.

#include <QPoint>
#include <string_view>

#include "window/Design.h"

namespace testing_support {

// The point `dx`, `dy` window units from the top-left corner of control `name`.
inline QPoint inside(std::string_view name, int dx, int dy) {
    const window::Box& box = window::controlDesign(name).box;
    return {box.left + dx, box.top + dy};
}

// The centre of control `name`.
inline QPoint centreOf(std::string_view name) {
    const window::Box& box = window::controlDesign(name).box;
    return {box.left + box.width / 2, box.top + box.height / 2};
}

}  // namespace testing_support
