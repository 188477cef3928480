#pragma once
// What the back of an input tells a socket target to do, one step at a time, and the pieces of its front that
// the peer writes: the peer writes the next piece, the event loop runs a few passes, the client is closed,
// dropped or sent to a new connection, or the peer ends the connection: in order, with a reset, or not at
// all.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

namespace fuzz_support {

enum class Step { Write, Pump, CloseClient, DropClient, ConnectAgain, End };
enum class End { None, Close, Reset, Open };

class Script {
public:
    explicit Script(FuzzedDataProvider& input) : input_(input) {}

    bool More() const { return input_.remaining_bytes() > 0; }
    // Writes come most often, then passes of the event loop.
    Step Next() {
        switch (input_.ConsumeIntegralInRange(0, 9)) {
        case 0:
        case 1:
        case 2:
        case 3:
            return Step::Write;
        case 4:
        case 5:
            return Step::Pump;
        case 6:
            return Step::CloseClient;
        case 7:
            return Step::DropClient;
        case 8:
            return Step::ConnectAgain;
        default:
            return Step::End;
        }
    }
    // For a Write: the next bytes of the front.
    std::string Piece() { return input_.ConsumeBytesAsString(input_.ConsumeIntegralInRange(1, 600)); }
    // For a Pump: how many passes.
    int Passes() { return input_.ConsumeIntegralInRange(1, 8); }
    // For an End: how the connection ends.
    End Ending() { return static_cast<End>(input_.ConsumeIntegralInRange(1, 3)); }

private:
    FuzzedDataProvider& input_;
};

} // namespace fuzz_support
