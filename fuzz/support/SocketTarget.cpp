#include "support/SocketTarget.h"

#include "support/Toolkit.h"

namespace fuzz_support {

namespace {
LoopbackPeer* peer = nullptr;
} // namespace

LoopbackPeer& Peer() {
    return *peer;
}

} // namespace fuzz_support

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz_support::StartToolkit(argc, argv);
    static fuzz_support::LoopbackPeer loopback;
    fuzz_support::peer = &loopback;
    return 0;
}
