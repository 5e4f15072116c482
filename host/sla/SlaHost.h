#pragma once

// The host over Scribus 1.5 and 1.6 documents (.sla files, or .sla.gz): each open file is a
// document, the last one opened is active, and its window shows one spread
// (a row of Scribus's page layout). A page's duplicate is a spread holding the
// new page alone. Changes stay in memory until saveChanged(); the session's
// normal end saves them, an end after an error writes nothing.

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "host/DocumentHost.h"
#include "host/HostConnection.h"
#include "host/sla/SlaDocument.h"

namespace host::sla {

class SlaHost : public DocumentHost, public std::enable_shared_from_this<SlaHost> {
public:
    // Opens `files` in order. The active window shows the spread holding page
    // `activePage` (1-based) of the last file, or its first spread. Throws
    // HostError naming the first file that cannot be opened and why.
    static std::shared_ptr<SlaHost> open(const std::vector<std::filesystem::path>& files,
                                         std::optional<int> activePage = std::nullopt);

    std::shared_ptr<Documents> documents() override;
    std::shared_ptr<Document> activeDocument() override;
    std::shared_ptr<Window> activeWindow() override;

    // Writes every document changed since it was opened, each atomically; files
    // not changed are never touched. Tries all, then throws HostError for the failures.
    void saveChanged();

    void endNormally() override { saveChanged(); }
    void endAfterError() noexcept override {}
    // New pages come last: the active document's page count.
    int lastAddedPage() const override;

    const std::vector<std::shared_ptr<SlaDocument>>& openDocuments() const { return m_documents; }

private:
    SlaHost() = default;

    std::vector<std::shared_ptr<SlaDocument>> m_documents;
    int m_activeSpread = 0;  // row of the active document's layout shown in its window
};

// The name the .sla adapter is chosen under (it appears in error reports).
inline constexpr const char* kHostName = "Quarvel.ScribusDocuments";

// Makes `connection` connect to `host`, under kHostName.
void registerSlaHost(HostConnection& connection, const std::shared_ptr<SlaHost>& host);

}  // namespace host::sla
