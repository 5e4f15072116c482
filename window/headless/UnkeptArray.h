#pragma once

// Page markers for a run that shows no window (the batch mode): at 32,735
// pages a kept record per marker would be four records per page that no one
// ever looks at. Toolkit-free.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "window/MarkerRecords.h"

namespace window::headless {

// A control array whose elements 1 and up are not kept. It keeps element 0
// and which elements exist, with the same errors as any control array; an
// element it hands out is a fresh copy of element 0, hidden, and what is set
// on it lasts until the array hands out the next one. A caller may therefore
// set an element and read it back, but not come back to it later.
template <class Element, class Interface>
class UnkeptArray : public NamedArray<Interface> {
public:
    // `designed`: element 0 as it starts.
    UnkeptArray(std::string name, const Element& designed)
        : NamedArray<Interface>(std::move(name)), m_designed(designed) {}

    Interface& operator[](std::int16_t index) override {
        this->requireExisting(index);
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
        this->requireCreatable(index);
        const auto slot = static_cast<std::size_t>(index);
        if (slot >= m_exists.size()) {
            m_exists.resize(slot + 1);
        }
        m_exists[slot] = true;
    }

    void remove(std::int16_t index) override {
        this->requireRemovable(index);
        m_exists[static_cast<std::size_t>(index)] = false;
    }

private:
    Element m_designed;
    std::optional<Element> m_handedOut;
    std::vector<bool> m_exists;  // by index; element 0 always exists
};

}  // namespace window::headless
