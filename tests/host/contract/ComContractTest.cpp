// The host contract over the live host's adapter, across processes: the test host plays the host.

#include "host/contract/ComAdapter.h"
#include "host/contract/HostContract.h"

namespace contract {

INSTANTIATE_TYPED_TEST_SUITE_P(Com, HostContract, ComAdapter);

}  // namespace contract
