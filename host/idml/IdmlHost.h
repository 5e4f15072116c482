#pragma once

// The host over InDesign documents as IDML packages: each open file is a
// document, the last one opened is active, and its window shows one spread
// (the first, or the one holding a page asked for), whose first page is the
// sheet. A page's duplicate is a new spread right after the page's spread,
// holding the copy alone. Changes stay in memory until saveChanged(); the
// session's normal end saves them, an end after an error writes nothing.

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "host/DocumentHost.h"
#include "host/HostConnection.h"
#include "host/idml/IdmlDocument.h"

namespace host::idml {

class IdmlHost : public DocumentHost, public std::enable_shared_from_this<IdmlHost> {
public:
    // Opens `files` in order. The active window shows the spread holding page
    // `activePage` (1-based) of the last file, or its first spread. Throws
    // HostError naming the first file that cannot be opened and why.
    static std::shared_ptr<IdmlHost> open(const std::vector<std::filesystem::path>& files,
                                          std::optional<int> activePage = std::nullopt);

    std::shared_ptr<Documents> documents() override;
    std::shared_ptr<Document> activeDocument() override;
    std::shared_ptr<Window> activeWindow() override;

    // Writes every document changed since it was opened, each atomically; files
    // not changed are never touched. Tries all, then throws HostError for the failures.
    void saveChanged();

    void endNormally() override { saveChanged(); }
    void endAfterError() noexcept override {}
    int lastAddedPage() const override;

    const std::vector<std::shared_ptr<IdmlDocument>>& openDocuments() const { return m_documents; }

private:
    IdmlHost() = default;

    std::vector<std::shared_ptr<IdmlDocument>> m_documents;
    std::shared_ptr<NodeHandle> m_activeSpread;  // the <Spread> the active window shows
    std::shared_ptr<NodeHandle> m_lastAdded;     // the page a duplicate added last
};

// The name the IDML adapter is chosen under (it appears in error reports).
inline constexpr const char* kHostName = "Quarvel.InDesignPackages";

// Makes `connection` connect to `host`, under kHostName.
void registerIdmlHost(HostConnection& connection, const std::shared_ptr<IdmlHost>& host);

}  // namespace host::idml
