#include "window/headless/HeadlessControls.h"

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

template <class Element, class Interface>
HeadlessArray<Element, Interface>::HeadlessArray(std::string name) : m_name(std::move(name)) {
    m_elements.push_back(std::make_unique<Element>());
}

template <class Element, class Interface>
void HeadlessArray<Element, Interface>::fail(const char* what, std::int16_t index) const {
    throw ToolkitError(std::string(what) + " " + m_name + "(" + std::to_string(index) + ")");
}

template <class Element, class Interface>
bool HeadlessArray<Element, Interface>::exists(std::int16_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_elements.size() &&
           m_elements[static_cast<std::size_t>(index)] != nullptr;
}

template <class Element, class Interface>
Interface& HeadlessArray<Element, Interface>::operator[](std::int16_t index) {
    if (!exists(index)) {
        fail("There is no control", index);
    }
    return *m_elements[static_cast<std::size_t>(index)];
}

template <class Element, class Interface>
void HeadlessArray<Element, Interface>::create(std::int16_t index) {
    if (index < 1) {
        fail("Cannot create designed control", index);
    }
    if (exists(index)) {
        fail("Control already exists:", index);
    }
    const auto slot = static_cast<std::size_t>(index);
    if (slot >= m_elements.size()) {
        m_elements.resize(slot + 1);
    }
    // A copy of element 0 in everything but visibility.
    auto element = std::make_unique<Element>(element0());
    element->setVisible(false);
    m_elements[slot] = std::move(element);
}

template <class Element, class Interface>
void HeadlessArray<Element, Interface>::remove(std::int16_t index) {
    if (index < 1) {
        fail("Cannot remove designed control", index);
    }
    if (!exists(index)) {
        fail("There is no control", index);
    }
    m_elements[static_cast<std::size_t>(index)].reset();
    while (m_elements.size() > 1 && !m_elements.back()) {
        m_elements.pop_back();
    }
}

template class HeadlessArray<HeadlessPicture, PictureControl>;
template class HeadlessArray<HeadlessText, TextBox>;

}  // namespace window::headless
