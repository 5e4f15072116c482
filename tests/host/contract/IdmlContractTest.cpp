// The host contract over IDML packages.

#include "host/contract/HostContract.h"
#include "host/contract/IdmlAdapter.h"

namespace contract {

INSTANTIATE_TYPED_TEST_SUITE_P(Idml, HostContract, IdmlAdapter);

}  // namespace contract
