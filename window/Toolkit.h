#pragma once

// What the tool needs from its window toolkit, free of any toolkit type.
// Control positions and sizes are window units (pixels of the client area,
// x right, y down) held as singles; the window's own Left and Top are twips.
// Any failing operation throws ToolkitError.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "window/Design.h"

namespace window {

class ToolkitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A picture as the toolkit holds it; controls that show the same picture share
// one. Each toolkit backend defines PictureData; the tool only passes pictures on.
class PictureData;
using Picture = std::shared_ptr<const PictureData>;

class Control {
public:
    virtual ~Control() = default;
    virtual float left() const = 0;
    virtual float top() const = 0;
    virtual float width() const = 0;
    virtual float height() const = 0;
    virtual void setLeft(float left) = 0;
    virtual void setTop(float top) = 0;
    virtual void setWidth(float width) = 0;
    virtual void setHeight(float height) = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
};

// Shows its picture stretched to its size; null shows nothing.
class PictureControl : public Control {
public:
    virtual Picture picture() const = 0;
    virtual void setPicture(Picture picture) = 0;
};

// A single-line number box.
class TextBox : public Control {
public:
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

// A rectangle outline without fill; takes no mouse input.
class Outline : public Control {};

// Element 0 is designed and always exists; elements 1 and up are created as
// hidden copies of element 0 and removed again. Creating an element that
// exists, or addressing or removing one that does not, throws ToolkitError.
template <class T>
class ControlArray {
public:
    virtual ~ControlArray() = default;
    virtual T& operator[](std::int16_t index) = 0;
    virtual bool exists(std::int16_t index) const = 0;
    virtual void create(std::int16_t index) = 0;
    virtual void remove(std::int16_t index) = 0;
};

// The toolkit type of a control of the design table: an outline, a picture
// control (shown or a hidden source), or a control array of pictures or number
// boxes. A row of any other kind and array does not compile.
template <ControlKind Kind, bool Array>
struct DesignedTypeOf;
template <>
struct DesignedTypeOf<ControlKind::PictureBox, false> {
    using type = PictureControl;
};
template <>
struct DesignedTypeOf<ControlKind::PictureSource, false> {
    using type = PictureControl;
};
template <>
struct DesignedTypeOf<ControlKind::ShapeOutline, false> {
    using type = Outline;
};
template <>
struct DesignedTypeOf<ControlKind::PictureBox, true> {
    using type = ControlArray<PictureControl>;
};
template <>
struct DesignedTypeOf<ControlKind::NumberBox, true> {
    using type = ControlArray<TextBox>;
};
template <ControlKind Kind, bool Array>
using DesignedType = typename DesignedTypeOf<Kind, Array>::type;

// Every control of the designed window (QUARVEL_DESIGN_TABLE), by its design
// name, in the table's order.
struct Controls {
#define QUARVEL_CONTROL_MEMBER(name, kind, array, ...) DesignedType<ControlKind::kind, array>& name;
    QUARVEL_DESIGN_TABLE(QUARVEL_CONTROL_MEMBER)
#undef QUARVEL_CONTROL_MEMBER
};

// Thrown by FormWindow::end to unwind the running handler; the event guard
// catches it and ends the tool. Deliberately not a std::exception.
struct EndRequest {
    int status = 0;
};

// The window itself.
class FormWindow {
public:
    virtual ~FormWindow() = default;
    virtual float left() const = 0;  // twips
    virtual float top() const = 0;   // twips
    virtual void setLeft(float twips) = 0;
    virtual void setTop(float twips) = 0;
    // Application-modal box: the text, one OK button, no icon, the application
    // title as caption. Returns when dismissed.
    virtual void showMessage(const std::string& text) = 0;
    // Closes the window and ends the tool at once: nothing after it runs. The
    // running handler unwinds to the event guard, which leaves the event loop.
    [[noreturn]] void end(int status) { throw EndRequest{status}; }
};

// The toolkit's event loop on the window's one thread.
class EventLoop {
public:
    virtual ~EventLoop() = default;
    // Shows the window and handles its events until leave(); returns the status
    // given to leave(), or 0 when the user closed the window by other means.
    // After a leave() before run(), returns that status at once, never showing it.
    virtual int run() = 0;
    // Hides the window at once and makes run() return `status` as soon as the
    // running handler is done. Safe from inside a handler or a nested loop.
    virtual void leave(int status) = 0;
};

}  // namespace window
