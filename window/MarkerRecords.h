#pragma once

// The page markers of both previews as records (ControlRecords.h): the
// control arrays of icons and number boxes, element 0 designed, elements 1
// and up made and removed at run time. A backend paints them and tests them
// for the pointer; this keeps what they are. Toolkit-free.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "window/ControlRecords.h"
#include "window/Toolkit.h"

namespace window {

// What every control array of markers refuses, named in its messages: the
// checks before addressing, creating or removing an element (ToolkitError).
template <class Interface>
class NamedArray : public ControlArray<Interface> {
public:
    std::string_view name() const { return m_name; }

protected:
    explicit NamedArray(std::string name) : m_name(std::move(name)) {}

    void requireExisting(std::int16_t index) const {
        if (!this->exists(index)) {
            fail("There is no control", index);
        }
    }
    void requireCreatable(std::int16_t index) const {
        if (index < 1) {
            fail("Cannot create designed control", index);
        }
        if (this->exists(index)) {
            fail("Control already exists:", index);
        }
    }
    void requireRemovable(std::int16_t index) const {
        if (index < 1) {
            fail("Cannot remove designed control", index);
        }
        requireExisting(index);
    }

private:
    [[noreturn]] void fail(const char* what, std::int16_t index) const {
        throw ToolkitError(std::string(what) + " " + m_name + "(" + std::to_string(index) + ")");
    }

    std::string m_name;
};

// A control array of records. Element i lives at index i; removed and
// never-created elements are null. A new element is a copy of element 0,
// hidden; an element is hidden before it goes, so that its observer repaints
// where a shown one was.
template <class Element, class Interface>
class RecordArray : public NamedArray<Interface> {
public:
    // `designed`: element 0 as it starts.
    RecordArray(std::string name, const Element& designed)
        : NamedArray<Interface>(std::move(name)) {
        m_elements.push_back(std::make_unique<Element>(designed));
    }

    Element& element0() { return *m_elements.front(); }
    const std::vector<std::unique_ptr<Element>>& elements() const { return m_elements; }

    Interface& operator[](std::int16_t index) override {
        this->requireExisting(index);
        return *m_elements[static_cast<std::size_t>(index)];
    }

    bool exists(std::int16_t index) const override {
        return index >= 0 && static_cast<std::size_t>(index) < m_elements.size() &&
               m_elements[static_cast<std::size_t>(index)] != nullptr;
    }

    void create(std::int16_t index) override {
        this->requireCreatable(index);
        const auto slot = static_cast<std::size_t>(index);
        if (slot >= m_elements.size()) {
            m_elements.resize(slot + 1);
        }
        // A copy of element 0 in everything but visibility; it never showed,
        // so there is nothing to repaint.
        auto element = std::make_unique<Element>(element0());
        element->startHidden();
        m_elements[slot] = std::move(element);
    }

    void remove(std::int16_t index) override {
        this->requireRemovable(index);
        const auto slot = static_cast<std::size_t>(index);
        m_elements[slot]->setVisible(false);  // repaints where a shown one was
        m_elements[slot].reset();
        while (m_elements.size() > 1 && !m_elements.back()) {
            m_elements.pop_back();
        }
    }

private:
    std::vector<std::unique_ptr<Element>> m_elements;
};

// The four marker arrays: front icons Image1 and numbers Text3, back icons
// Image2 and numbers Text4. Every change of a marker is told to `observer`.
// `ArrayOf` keeps the elements: RecordArray, or an array of the same shape
// (constructed from a name and element 0, with name()).
template <class G = Geometry, template <class, class> class ArrayOf = RecordArray>
class MarkerRecords {
public:
    using Icon = PictureRecord<G>;
    using Number = TextRecord<G>;
    using Icons = ArrayOf<Icon, PictureControl>;
    using Numbers = ArrayOf<Number, TextBox>;

    explicit MarkerRecords(RecordObserver<G>* observer)
        : m_frontIcons("Image1", Icon(observer)),
          m_frontNumbers("Text3", Number(observer)),
          m_backIcons("Image2", Icon(observer)),
          m_backNumbers("Text4", Number(observer)) {}

    Icons& frontIcons() { return m_frontIcons; }
    Numbers& frontNumbers() { return m_frontNumbers; }
    Icons& backIcons() { return m_backIcons; }
    Numbers& backNumbers() { return m_backNumbers; }

    // The array with that design name; throw ToolkitError for another name.
    Icons& icons(std::string_view arrayName) {
        for (Icons* array : {&m_frontIcons, &m_backIcons}) {
            if (array->name() == arrayName) {
                return *array;
            }
        }
        throw ToolkitError("There is no icon array " + std::string(arrayName));
    }
    Numbers& numbers(std::string_view arrayName) {
        for (Numbers* array : {&m_frontNumbers, &m_backNumbers}) {
            if (array->name() == arrayName) {
                return *array;
            }
        }
        throw ToolkitError("There is no number array " + std::string(arrayName));
    }

    // Whether the geometry of a shown marker passes `test` (a G -> bool): a
    // backend's hit test. Number boxes first, as they lie on top. RecordArray only.
    template <class Test>
    bool anyShown(Test test) const {
        return shownIn(m_frontNumbers, test) || shownIn(m_backNumbers, test) ||
               shownIn(m_frontIcons, test) || shownIn(m_backIcons, test);
    }

protected:
    // The layer that paints them reads them as they are.
    Icons m_frontIcons;
    Numbers m_frontNumbers;
    Icons m_backIcons;
    Numbers m_backNumbers;

private:
    template <class Array, class Test>
    static bool shownIn(const Array& array, const Test& test) {
        for (const auto& element : array.elements()) {
            if (element && element->isVisible() && test(element->storedGeometry())) {
                return true;
            }
        }
        return false;
    }
};

}  // namespace window
