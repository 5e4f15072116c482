// The host contract over the in-memory host.

#include "host/contract/HostContract.h"
#include "host/contract/MemoryAdapter.h"

namespace contract {

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, HostContract, MemoryAdapter);

}  // namespace contract
