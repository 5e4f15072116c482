#pragma once

// The IDML host as a contract fixture: writes the sheet as an IDML package
// into a scratch folder and opens it. Linux only (POSIX files).

#include <filesystem>
#include <memory>
#include <string>

#include "host/contract/Sheet.h"
#include "host/idml/IdmlHost.h"

namespace contract {

class IdmlAdapter {
public:
    IdmlAdapter();
    ~IdmlAdapter();
    IdmlAdapter(const IdmlAdapter&) = delete;
    IdmlAdapter& operator=(const IdmlAdapter&) = delete;

    std::shared_ptr<host::Application> open(const Sheet& sheet);
    std::shared_ptr<host::Application> openEmpty();
    std::string nameOf(host::PageItem& item);
    double reported(double degrees) const;

private:
    std::filesystem::path m_folder;
    int m_documents = 0;
};

}  // namespace contract
