#pragma once

// The window's controls with the ones the handlers change at run time wrapped
// so that each change is written to one log, in order: "bReflect.setPicture",
// "Text3.create(1)", "Image2.remove(2)". Every call still reaches the real control.

#include <string>
#include <vector>

#include "window/Toolkit.h"

namespace testing_support {

using ControlLog = std::vector<std::string>;

class RecordingPicture : public window::PictureControl {
public:
    RecordingPicture(std::string name, window::PictureControl& inner, ControlLog& log)
        : m_name(std::move(name)), m_inner(inner), m_log(log) {}

    float left() const override { return m_inner.left(); }
    float top() const override { return m_inner.top(); }
    float width() const override { return m_inner.width(); }
    float height() const override { return m_inner.height(); }
    void setLeft(float value) override { m_inner.setLeft(value); }
    void setTop(float value) override { m_inner.setTop(value); }
    void setWidth(float value) override { m_inner.setWidth(value); }
    void setHeight(float value) override { m_inner.setHeight(value); }
    bool isVisible() const override { return m_inner.isVisible(); }
    void setVisible(bool visible) override { m_inner.setVisible(visible); }
    window::Picture picture() const override { return m_inner.picture(); }
    void setPicture(window::Picture picture) override {
        m_log.push_back(m_name + ".setPicture");
        m_inner.setPicture(std::move(picture));
    }

private:
    std::string m_name;
    window::PictureControl& m_inner;
    ControlLog& m_log;
};

template <class T>
class RecordingArray : public window::ControlArray<T> {
public:
    RecordingArray(std::string name, window::ControlArray<T>& inner, ControlLog& log)
        : m_name(std::move(name)), m_inner(inner), m_log(log) {}

    T& operator[](std::int16_t index) override { return m_inner[index]; }
    bool exists(std::int16_t index) const override { return m_inner.exists(index); }
    void create(std::int16_t index) override {
        record("create", index);
        m_inner.create(index);
    }
    void remove(std::int16_t index) override {
        record("remove", index);
        m_inner.remove(index);
    }

private:
    void record(const char* what, std::int16_t index) {
        m_log.push_back(m_name + "." + what + "(" + std::to_string(index) + ")");
    }

    std::string m_name;
    window::ControlArray<T>& m_inner;
    ControlLog& m_log;
};

class RecordingControls {
public:
    explicit RecordingControls(window::Controls& inner)
        : m_image1("Image1", inner.Image1, log),
          m_text3("Text3", inner.Text3, log),
          m_image2("Image2", inner.Image2, log),
          m_text4("Text4", inner.Text4, log),
          m_image3("Image3", inner.Image3, log),
          m_image4("Image4", inner.Image4, log),
          m_bReflect("bReflect", inner.bReflect, log),
          m_bDuplicate("bDuplicate", inner.bDuplicate, log),
          m_bRefresh("bRefresh", inner.bRefresh, log),
          m_bForget("bForget", inner.bForget, log),
          m_controls{inner.Shape1,       inner.Shape2,
                     m_image1,           m_text3,
                     m_image2,           m_text4,
                     m_image3,           m_image4,
                     m_bReflect,         m_bDuplicate,
                     m_bRefresh,         m_bForget,
                     inner.tReflectUp,   inner.tReflectDown,
                     inner.tDuplicateUp, inner.tDuplicateDown,
                     inner.tRefreshUp,   inner.tRefreshDown,
                     inner.tForgetUp,    inner.tForgetDown,
                     inner.tArrUp0,      inner.tArrDwn0,
                     inner.tArrUp90,     inner.tArrDwn90,
                     inner.page0,        inner.page90,
                     inner.page180,      inner.page270} {}

    window::Controls& controls() { return m_controls; }

    // Only the entries that contain `what`, such as ".remove(" or "Image3.".
    ControlLog entries(const std::string& what) const {
        ControlLog result;
        for (const auto& entry : log) {
            if (entry.find(what) != std::string::npos) {
                result.push_back(entry);
            }
        }
        return result;
    }

    ControlLog log;

private:
    RecordingArray<window::PictureControl> m_image1;
    RecordingArray<window::TextBox> m_text3;
    RecordingArray<window::PictureControl> m_image2;
    RecordingArray<window::TextBox> m_text4;
    RecordingPicture m_image3;
    RecordingPicture m_image4;
    RecordingPicture m_bReflect;
    RecordingPicture m_bDuplicate;
    RecordingPicture m_bRefresh;
    RecordingPicture m_bForget;
    window::Controls m_controls;
};

}  // namespace testing_support
