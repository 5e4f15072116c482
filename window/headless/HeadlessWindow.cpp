#include "window/headless/HeadlessWindow.h"

namespace window::headless {

HeadlessWindow::HeadlessWindow(MessageSink messages, Markers markers)
    : m_messages(std::move(messages)) {
    if (markers == Markers::Unkept) {
        m_unkept.emplace(nullptr);
    }
    m_controls = makeDesignedControls(*this);
}

HeadlessWindow::~HeadlessWindow() = default;

ControlArray<PictureControl>& HeadlessWindow::pictureArray(std::string_view name) {
    if (m_unkept) {
        return m_unkept->icons(name);
    }
    return m_markers.icons(name);
}

ControlArray<TextBox>& HeadlessWindow::numberArray(std::string_view name) {
    if (m_unkept) {
        return m_unkept->numbers(name);
    }
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

void HeadlessWindow::showMessage(const std::string& text) {
    if (m_messages) {
        m_messages(text);
    }
}

}  // namespace window::headless
