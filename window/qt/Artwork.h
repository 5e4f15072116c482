#pragma once

// The window's built-in pictures (window/Design.h) as Qt renders them: vector
// drawings compiled into the executable, rendered on request. Names follow the
// window's controls ("skin", "logo", "tReflectUp" ... "page270").

#include <QPixmap>
#include <QRect>
#include <QSize>

#include <string_view>
#include <vector>

namespace window::qt {

// Every picture name, in a fixed order.
std::vector<std::string_view> artworkNames();

// The picture's design size in pixels (PictureDesign). Throws std::logic_error for an unknown name.
QSize artworkSize(std::string_view name);

// The picture rendered at its design size.
// Throws std::logic_error for an unknown name.
QPixmap artworkPicture(std::string_view name);

// The picture rendered straight at `size`, stretched to fill it, so that the
// page icons stay crisp at any marker size. An empty size gives a null pixmap.
// Throws std::logic_error for an unknown name.
QPixmap artworkPicture(std::string_view name, QSize size);

// The part `part` (picture pixels) of the picture stretched to `size`: the
// same pixels as that part of artworkPicture(name, size), at the cost of the
// part alone. An empty part gives a null pixmap.
// Throws std::logic_error for an unknown name.
QPixmap artworkPicturePart(std::string_view name, QSize size, QRect part);

}  // namespace window::qt
