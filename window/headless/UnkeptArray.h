#pragma once

// Page markers for a run that shows no window (the batch mode): at 32,735
// pages a kept record per marker would be four records per page that no one
// ever looks at. Toolkit-free.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "window/Toolkit.h"

namespace window::headless {

// A control array whose elements 1 and up are not kept. It keeps element 0
// and which elements exist, with the same errors as any control array; an
// element it hands out is a fresh copy of element 0, hidden, and what is set
// on it lasts until the array hands out the next one. A caller may therefore
// set an element and read it back, but not come back to it later.
template <class Element, class Interface>
class UnkeptArray : public ControlArray<Interface> {
public:
    // `designed`: element 0 as it starts.
    UnkeptArray(std::string name, const Element& designed)
        : m_name(std::move(name)), m_designed(designed) {}

    std::string_view name() const { return m_name; }

    Interface& operator[](std::int16_t index) override {
        if (!exists(index)) {
            fail("There is no control", index);
        }
        if (index == 0) {
            return m_designed;
        }
        m_handedOut.emplace(m_designed);
        m_handedOut->startHidden();
        return *m_handedOut;
    }

    bool exists(std::int16_t index) const override {
        return index == 0 || (index > 0 && static_cast<std::size_t>(index) < m_exists.size() &&
                              m_exists[static_cast<std::size_t>(index)]);
    }

    void create(std::int16_t index) override {
        if (index < 1) {
            fail("Cannot create designed control", index);
        }
        if (exists(index)) {
            fail("Control already exists:", index);
        }
        const auto slot = static_cast<std::size_t>(index);
        if (slot >= m_exists.size()) {
            m_exists.resize(slot + 1);
        }
        m_exists[slot] = true;
    }

    void remove(std::int16_t index) override {
        if (index < 1) {
            fail("Cannot remove designed control", index);
        }
        if (!exists(index)) {
            fail("There is no control", index);
        }
        m_exists[static_cast<std::size_t>(index)] = false;
    }

private:
    [[noreturn]] void fail(const char* what, std::int16_t index) const {
        throw ToolkitError(std::string(what) + " " + m_name + "(" + std::to_string(index) + ")");
    }

    std::string m_name;
    Element m_designed;
    std::optional<Element> m_handedOut;
    std::vector<bool> m_exists;  // by index; element 0 always exists
};

}  // namespace window::headless
