#include "window/headless/HeadlessWindow.h"

#include <stdexcept>

#include "window/form/EventGuard.h"

namespace window::headless {

HeadlessWindow::HeadlessWindow(MessageSink messages) : m_messages(std::move(messages)) {
    m_controls = makeDesignedControls(*this);
}

HeadlessWindow::~HeadlessWindow() = default;

ControlArray<PictureControl>& HeadlessWindow::pictureArray(std::string_view name) {
    return m_markers.icons(name);
}

ControlArray<TextBox>& HeadlessWindow::numberArray(std::string_view name) {
    return m_markers.numbers(name);
}

template <class T>
T& HeadlessWindow::makeShown() {
    auto control = std::make_unique<T>();
    T& made = *control;
    m_owned.push_back(std::move(control));
    made.setVisible(true);
    return made;
}

Outline& HeadlessWindow::makeOutline(const ControlDesign&) {
    return makeShown<HeadlessOutline>();
}

PictureControl& HeadlessWindow::makePictureBox(const ControlDesign&) {
    return makeShown<HeadlessPicture>();
}

PictureControl& HeadlessWindow::pictureSource(std::string_view name) {
    return m_sources.source(name);
}

void HeadlessWindow::connectHandlers(FormHandlers& handlers, form::EventGuard& guard) {
    m_handlers = &handlers;
    m_guard = &guard;
}

void HeadlessWindow::dispatch(void (FormHandlers::*handler)()) {
    if (!m_handlers) {
        throw std::logic_error("the headless window has no handlers to run");
    }
    m_guard->run([this, handler] { (m_handlers->*handler)(); });
}

void HeadlessWindow::load() {
    dispatch(&FormHandlers::formLoad);
}

void HeadlessWindow::click(std::string_view control) {
    for (const PictureRoute& route : kPictureRoutes) {
        if (route.control == control) {
            dispatch(route.click);
            return;
        }
    }
    throw std::logic_error("no control takes a click: " + std::string(control));
}

void HeadlessWindow::showMessage(const std::string& text) {
    if (m_messages) {
        m_messages(text);
    }
}

}  // namespace window::headless
