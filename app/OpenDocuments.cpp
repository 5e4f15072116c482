#include "app/OpenDocuments.h"

#include <fstream>

#include "host/HostError.h"
#include "host/idml/IdmlHost.h"
#include "host/idml/IdmlPackage.h"
#include "host/sla/SlaHost.h"

namespace app {

namespace {

// Only a regular file is looked into: a pipe or a device is left to the
// adapter, which refuses it before reading from it.
bool isPackage(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    char start[4] = {};
    std::ifstream in(file, std::ios::binary);
    in.read(start, sizeof start);
    return in.gcount() == sizeof start && host::idml::looksLikeZip(start, sizeof start);
}

}  // namespace

std::shared_ptr<host::DocumentHost> openDocuments(const std::vector<std::filesystem::path>& files,
                                                  std::optional<int> page,
                                                  host::HostConnection& hosts) {
    std::size_t packages = 0;
    for (const auto& file : files) {
        packages += isPackage(file) ? 1U : 0U;
    }
    if (packages != 0 && packages != files.size()) {
        throw host::HostError(
            "InDesign packages (IDML) and Scribus documents cannot be opened together: "
            "open each kind on its own.");
    }
    if (packages != 0) {
        auto documents = host::idml::IdmlHost::open(files, page);
        host::idml::registerIdmlHost(hosts, documents);
        return documents;
    }
    auto documents = host::sla::SlaHost::open(files, page);
    host::sla::registerSlaHost(hosts, documents);
    return documents;
}

}  // namespace app
