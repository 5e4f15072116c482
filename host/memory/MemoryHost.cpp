#include "host/memory/MemoryHost.h"

#include <stdexcept>

#include "host/memory/MemoryHostObjects.h"

namespace host {

MemoryHost::MemoryHost()
    : m_state(std::make_shared<memory::HostState>()),
      m_application(memory::makeApplication(m_state)) {}

MemoryDocument& MemoryHost::addDocument(double pageWidth, double pageHeight) {
    const auto number = m_state->documents.size() + 1;
    m_state->documents.push_back(
        std::make_shared<MemoryDocument>("doc" + std::to_string(number), pageWidth, pageHeight));
    m_state->activeDocument = m_state->documents.back().get();
    return *m_state->activeDocument;
}

void MemoryHost::activate(MemoryDocument& document) {
    for (const auto& open : m_state->documents) {
        if (open.get() == &document) {
            m_state->activeDocument = &document;
            return;
        }
    }
    throw std::invalid_argument("Document " + document.label() + " is not open in this host");
}

const std::vector<std::shared_ptr<MemoryDocument>>& MemoryHost::documents() const {
    return m_state->documents;
}

MemoryDocument* MemoryHost::activeDocument() const {
    return m_state->activeDocument;
}

void MemoryHost::showWindow(MemorySpread& spread) {
    m_state->windowOpen = true;
    m_state->windowSpread = &spread;
}

void MemoryHost::showEmptyWindow() {
    m_state->windowOpen = true;
    m_state->windowSpread = nullptr;
}

void MemoryHost::closeWindow() {
    m_state->windowOpen = false;
    m_state->windowSpread = nullptr;
}

void MemoryHost::registerIn(HostConnection& connection, const std::string& progId) const {
    connection.choose(progId, [application = m_application] { return application; });
}

const std::vector<std::string>& MemoryHost::calls() const {
    return m_state->calls;
}

void MemoryHost::clearCalls() {
    m_state->calls.clear();
}

void MemoryHost::failOn(std::string call, int occurrence) {
    m_state->failures.push_back({std::move(call), occurrence, 0});
}

void MemoryHost::clearFailures() {
    m_state->failures.clear();
}

std::string labelOf(const PageItem& item) {
    return memory::itemLabel(item);
}

}  // namespace host
