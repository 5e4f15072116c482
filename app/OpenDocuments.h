#pragma once

// Picks the host adapter for the documents to open, by their content: IDML
// packages (ZIP archives) go to the IDML adapter, everything else to the
// .sla adapter, which also refuses what is neither.

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "host/DocumentHost.h"
#include "host/HostConnection.h"

namespace app {

// Opens `files` with the adapter their content asks for and registers it
// with `hosts`. Throws HostError when a file cannot be opened, or when
// InDesign packages and Scribus documents are given together.
std::shared_ptr<host::DocumentHost> openDocuments(const std::vector<std::filesystem::path>& files,
                                                  std::optional<int> page,
                                                  host::HostConnection& hosts);

}  // namespace app
