#pragma once
// The start of a fuzz target of the socket classes: its LLVMFuzzerInitialize (SocketTarget.cpp) makes the
// toolkit's application object and the loopback peer that every input of the run plays against.

#include "support/LoopbackPeer.h"

namespace fuzz_support {

LoopbackPeer& Peer();

} // namespace fuzz_support
