// The host contract over .sla documents.

#include "host/contract/HostContract.h"
#include "host/contract/SlaAdapter.h"

namespace contract {

INSTANTIATE_TYPED_TEST_SUITE_P(Sla, HostContract, SlaAdapter);

}  // namespace contract
