#pragma once

// A toolkit of plain records for testing the preview without a display. Every
// change to a control is logged as "<control>.<property>" in order; reads are
// not logged. Sizes are kept as set unless an outline rounds them.

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "window/Toolkit.h"

// The fake's pictures: just a name.
class window::PictureData {
public:
    explicit PictureData(std::string pictureName) : name(std::move(pictureName)) {}
    std::string name;
};

namespace testing_support {

using Log = std::vector<std::string>;

template <class Interface>
class FakeControl : public Interface {
public:
    FakeControl(std::string name, Log& log) : m_name(std::move(name)), m_log(&log) {}

    const std::string& name() const { return m_name; }
    void rename(std::string name) { m_name = std::move(name); }

    float left() const override { return m_left; }
    float top() const override { return m_top; }
    float width() const override { return m_width; }
    float height() const override { return m_height; }
    void setLeft(float value) override { set(m_left, value, "Left"); }
    void setTop(float value) override { set(m_top, value, "Top"); }
    void setWidth(float value) override { set(m_width, sized(value), "Width"); }
    void setHeight(float value) override { set(m_height, sized(value), "Height"); }
    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override { set(m_visible, visible, "Visible"); }

    // Places the control as designed, without logging.
    void design(float left, float top, float width, float height, bool visible) {
        m_left = left;
        m_top = top;
        m_width = width;
        m_height = height;
        m_visible = visible;
    }
    // Makes the control keep only whole units of any size set on it.
    void roundSizes() { m_roundSizes = true; }

protected:
    template <class T>
    void set(T& field, const T& value, const char* property) {
        field = value;
        m_log->push_back(m_name + "." + property);
    }

private:
    float sized(float value) const { return m_roundSizes ? std::round(value) : value; }

    std::string m_name;
    Log* m_log;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_visible = false;
    bool m_roundSizes = false;
};

class FakePicture : public FakeControl<window::PictureControl> {
public:
    using FakeControl::FakeControl;
    window::Picture picture() const override { return m_picture; }
    void setPicture(window::Picture picture) override { set(m_picture, picture, "Picture"); }
    // A picture of its own, named after the control.
    void own() { m_picture = std::make_shared<const window::PictureData>(name()); }

private:
    window::Picture m_picture;
};

class FakeText : public FakeControl<window::TextBox> {
public:
    using FakeControl::FakeControl;
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { set(m_text, text, "Text"); }

private:
    std::string m_text;
};

using FakeOutline = FakeControl<window::Outline>;

template <class Element, class Interface>
class FakeArray : public window::ControlArray<Interface> {
public:
    FakeArray(const std::string& name, Log& log) : m_name(name), m_log(&log) {
        m_elements.push_back(std::make_unique<Element>(name + "(0)", log));
    }

    Element& element(std::int16_t index) { return checked(index, "address"); }
    Interface& operator[](std::int16_t index) override { return checked(index, "address"); }
    bool exists(std::int16_t index) const override {
        const auto slot = static_cast<std::size_t>(index);
        return index >= 0 && slot < m_elements.size() && m_elements[slot];
    }
    void create(std::int16_t index) override {
        m_log->push_back(m_name + ".create(" + std::to_string(index) + ")");
        if (index < 1 || exists(index)) {
            throw window::ToolkitError("cannot create " + m_name);
        }
        const auto slot = static_cast<std::size_t>(index);
        if (slot >= m_elements.size()) {
            m_elements.resize(slot + 1);
        }
        auto copy = std::make_unique<Element>(*m_elements.front());
        copy->rename(m_name + "(" + std::to_string(index) + ")");
        copy->design(copy->left(), copy->top(), copy->width(), copy->height(), false);
        m_elements[slot] = std::move(copy);
    }
    void remove(std::int16_t index) override {
        m_log->push_back(m_name + ".remove(" + std::to_string(index) + ")");
        checked(index, "remove");
        m_elements[static_cast<std::size_t>(index)].reset();
    }
    std::size_t slots() const { return m_elements.size(); }

private:
    Element& checked(std::int16_t index, const char* what) {
        if (!exists(index)) {
            throw window::ToolkitError(std::string("cannot ") + what + " " + m_name);
        }
        return *m_elements[static_cast<std::size_t>(index)];
    }

    std::string m_name;
    Log* m_log;
    std::vector<std::unique_ptr<Element>> m_elements;
};

using FakeIcons = FakeArray<FakePicture, window::PictureControl>;
using FakeNumbers = FakeArray<FakeText, window::TextBox>;

// Every control of the window, placed as designed, with one shared log.
struct FakeToolkit {
    FakeToolkit() {
        Shape1.design(24, 80, 341, 361, true);
        Shape2.design(432, 80, 353, 361, true);
        Image1.element(0).design(56, 184, 200, 80, true);
        Text3.element(0).design(176, 224, 25, 12, true);
        Image2.element(0).design(456, 136, 81, 33, true);
        Text4.element(0).design(472, 144, 25, 13, true);
        for (FakePicture* source : {&page0, &page90, &page180, &page270}) {
            source->own();
        }
    }
    FakeToolkit(const FakeToolkit&) = delete;
    FakeToolkit& operator=(const FakeToolkit&) = delete;

    window::Controls controls() {
        return {Shape1,     Shape2,       Image1,       Text3,          Image2,     Text4,
                Image3,     Image4,       bReflect,     bDuplicate,     bRefresh,   bForget,
                tReflectUp, tReflectDown, tDuplicateUp, tDuplicateDown, tRefreshUp, tRefreshDown,
                tForgetUp,  tForgetDown,  tArrUp0,      tArrDwn0,       tArrUp90,   tArrDwn90,
                page0,      page90,       page180,      page270};
    }

    Log log;
    FakeOutline Shape1{"Shape1", log};
    FakeOutline Shape2{"Shape2", log};
    FakeIcons Image1{"Image1", log};
    FakeNumbers Text3{"Text3", log};
    FakeIcons Image2{"Image2", log};
    FakeNumbers Text4{"Text4", log};
    FakePicture Image3{"Image3", log}, Image4{"Image4", log};
    FakePicture bReflect{"bReflect", log}, bDuplicate{"bDuplicate", log};
    FakePicture bRefresh{"bRefresh", log}, bForget{"bForget", log};
    FakePicture tReflectUp{"tReflectUp", log}, tReflectDown{"tReflectDown", log};
    FakePicture tDuplicateUp{"tDuplicateUp", log}, tDuplicateDown{"tDuplicateDown", log};
    FakePicture tRefreshUp{"tRefreshUp", log}, tRefreshDown{"tRefreshDown", log};
    FakePicture tForgetUp{"tForgetUp", log}, tForgetDown{"tForgetDown", log};
    FakePicture tArrUp0{"tArrUp0", log}, tArrDwn0{"tArrDwn0", log};
    FakePicture tArrUp90{"tArrUp90", log}, tArrDwn90{"tArrDwn90", log};
    FakePicture page0{"page0", log}, page90{"page90", log};
    FakePicture page180{"page180", log}, page270{"page270", log};
};

}  // namespace testing_support
