#pragma once

// Controls that show nothing: each keeps what the tool sets on it (window
// units, as set), so the window's logic runs unchanged without a display.
// Pictures are the design's own pictures (window/Design.h), passed on by
// identity: this backend never draws one.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "window/Design.h"
#include "window/Toolkit.h"

namespace window::headless {

// The design's picture named `name`; every call for one name gives the same
// picture. Throws std::logic_error for a name the design does not have.
Picture designPicture(std::string_view name);

// The design name of a picture from designPicture(); empty for no picture.
std::string_view pictureName(const Picture& picture);

template <class Interface>
class HeadlessControl : public Interface {
public:
    float left() const override { return m_left; }
    float top() const override { return m_top; }
    float width() const override { return m_width; }
    float height() const override { return m_height; }
    void setLeft(float value) override { m_left = value; }
    void setTop(float value) override { m_top = value; }
    void setWidth(float value) override { m_width = value; }
    void setHeight(float value) override { m_height = value; }
    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override { m_visible = visible; }

    // Puts the control where the design has it, shown.
    void place(const Box& box) {
        m_left = static_cast<float>(box.left);
        m_top = static_cast<float>(box.top);
        m_width = static_cast<float>(box.width);
        m_height = static_cast<float>(box.height);
        m_visible = true;
    }

private:
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_visible = false;
};

class HeadlessPicture : public HeadlessControl<PictureControl> {
public:
    Picture picture() const override { return m_picture; }
    void setPicture(Picture picture) override { m_picture = std::move(picture); }

private:
    Picture m_picture;
};

class HeadlessText : public HeadlessControl<TextBox> {
public:
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { m_text = text; }

private:
    std::string m_text;
};

using HeadlessOutline = HeadlessControl<Outline>;

// Element i lives at index i; removed and never-created elements are null.
template <class Element, class Interface>
class HeadlessArray : public ControlArray<Interface> {
public:
    explicit HeadlessArray(std::string name);

    Element& element0() { return *m_elements.front(); }
    Interface& operator[](std::int16_t index) override;
    bool exists(std::int16_t index) const override;
    void create(std::int16_t index) override;
    void remove(std::int16_t index) override;

private:
    [[noreturn]] void fail(const char* what, std::int16_t index) const;

    std::string m_name;
    std::vector<std::unique_ptr<Element>> m_elements;
};

using HeadlessPictureArray = HeadlessArray<HeadlessPicture, PictureControl>;
using HeadlessTextArray = HeadlessArray<HeadlessText, TextBox>;

}  // namespace window::headless
