#pragma once

// Controls that are records: what the tool sets is kept exactly as set
// (window units, singles), and every change is told to whoever shows it. Page
// markers are such records in every backend, painted by one layer; the
// headless backend keeps all its controls so. Painting, hit-testing and
// repainting stay with the backend. Toolkit-free.

#include <string>
#include <utility>

#include "window/Toolkit.h"

namespace window {

// A control's place and size as set. A backend may keep them in a type of its
// own with the same four fields, adding its conversions to pixels.
struct Geometry {
    float left = 0, top = 0, width = 0, height = 0;
};

// Left, top, width and height kept as set in a `G`; after every change that
// changes something, changed() is told the geometry before it.
template <class Interface, class G = Geometry>
class StoredGeometry : public Interface {
public:
    float left() const override { return m_geometry.left; }
    float top() const override { return m_geometry.top; }
    float width() const override { return m_geometry.width; }
    float height() const override { return m_geometry.height; }
    void setLeft(float value) override { change(m_geometry.left, value); }
    void setTop(float value) override { change(m_geometry.top, value); }
    void setWidth(float value) override { change(m_geometry.width, value); }
    void setHeight(float value) override { change(m_geometry.height, value); }

    const G& storedGeometry() const { return m_geometry; }

protected:
    virtual void changed(const G& before) = 0;

    template <class T>
    void change(T& field, const T& value) {
        if (field != value) {
            const G before = m_geometry;
            field = value;
            changed(before);
        }
    }

private:
    G m_geometry;
};

// Told of every change of a record: its geometry before and after (the same
// for a change of visibility, picture or text).
template <class G>
class RecordObserver {
public:
    virtual void recordChanged(const G& before, const G& after) = 0;

protected:
    virtual ~RecordObserver() = default;
};

// A record with its visibility; hidden at first. A copy tells the same observer.
template <class Interface, class G = Geometry>
class RecordControl : public StoredGeometry<Interface, G> {
public:
    explicit RecordControl(RecordObserver<G>* observer = nullptr) : m_observer(observer) {}

    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override { this->change(m_visible, visible); }
    // Hidden without telling the observer: for a fresh copy that never showed.
    void startHidden() { m_visible = false; }

protected:
    void changed(const G& before) override {
        if (m_observer) {
            m_observer->recordChanged(before, this->storedGeometry());
        }
    }

private:
    RecordObserver<G>* m_observer;
    bool m_visible = false;
};

template <class G = Geometry>
class PictureRecord : public RecordControl<PictureControl, G> {
public:
    using RecordControl<PictureControl, G>::RecordControl;
    Picture picture() const override { return m_picture; }
    void setPicture(Picture picture) override { this->change(m_picture, picture); }

private:
    Picture m_picture;
};

// A picture control that never shows: a source of pictures copied at run
// time. What is set on its place and size is kept but shows nowhere.
class SourcePicture : public StoredGeometry<PictureControl> {
public:
    explicit SourcePicture(Picture picture) : m_picture(std::move(picture)) {}
    bool isVisible() const override { return false; }
    void setVisible(bool) override {}
    Picture picture() const override { return m_picture; }
    void setPicture(Picture picture) override { m_picture = std::move(picture); }

protected:
    void changed(const Geometry&) override {}

private:
    Picture m_picture;
};

template <class G = Geometry>
class TextRecord : public RecordControl<TextBox, G> {
public:
    using RecordControl<TextBox, G>::RecordControl;
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { this->change(m_text, text); }
    const std::string& storedText() const { return m_text; }  // for painting, no copy

private:
    std::string m_text;
};

}  // namespace window
