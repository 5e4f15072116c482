#pragma once

// The .sla host as a contract fixture: writes the sheet as a Scribus 1.5
// document into a scratch folder and opens it. Linux only (POSIX files).

#include <filesystem>
#include <memory>
#include <string>

#include "host/contract/Sheet.h"
#include "host/sla/SlaHost.h"

namespace contract {

class SlaAdapter {
public:
    SlaAdapter();
    ~SlaAdapter();
    SlaAdapter(const SlaAdapter&) = delete;
    SlaAdapter& operator=(const SlaAdapter&) = delete;

    std::shared_ptr<host::Application> open(const Sheet& sheet);
    std::shared_ptr<host::Application> openEmpty();
    std::string nameOf(host::PageItem& item);
    double reported(double degrees) const;

private:
    std::filesystem::path m_folder;
    int m_documents = 0;
};

// The sheet as the text of a one-page .sla document.
std::string slaDocument(const Sheet& sheet);

}  // namespace contract
