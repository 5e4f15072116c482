#include "host/contract/IdmlAdapter.h"

#include <unistd.h>

#include <stdexcept>

#include "host/ItemGeometry.h"
#include "host/idml/IdmlItem.h"
#include "host/idml/IdmlSheet.h"

namespace contract {

IdmlAdapter::IdmlAdapter() {
    std::string name =
        (std::filesystem::temp_directory_path() / "quarvel-contract-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    m_folder = name;
}

IdmlAdapter::~IdmlAdapter() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::shared_ptr<host::Application> IdmlAdapter::open(const Sheet& sheet) {
    const auto path = m_folder / ("sheet" + std::to_string(++m_documents) + ".idml");
    idmltest::writeFile(path, idmltest::sheetPackage(sheet));
    return host::idml::IdmlHost::open({path});
}

std::shared_ptr<host::Application> IdmlAdapter::openEmpty() {
    return host::idml::IdmlHost::open({});
}

std::string IdmlAdapter::nameOf(host::PageItem& item) {
    return dynamic_cast<host::idml::IdmlItem&>(item).name();
}

double IdmlAdapter::reported(double degrees) const {
    return host::normalizedDegrees(degrees);
}

}  // namespace contract
