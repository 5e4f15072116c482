#include "ComObject.h"

#include <atomic>

namespace testhost {

namespace {
std::atomic<long> live{0};
}  // namespace

long liveObjects() {
    return live;
}

Counted::Counted() {
    ++live;
}

Counted::~Counted() {
    --live;
}

}  // namespace testhost
