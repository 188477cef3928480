#pragma once
// A loopback port whose listener never answers a new connection: it listens with no room in its queue of
// connections waiting to be accepted, fills that queue with connections of its own and never accepts them.
// The system then drops every further connection request to the port unanswered, as a host that is down
// or behind a filter does, and the client that sent it keeps waiting for an answer.

#include <cstdint>
#include <vector>

namespace testing_support {

class FullBacklogListener {
public:
    // Returns once the listener's own queue shows itself full.
    FullBacklogListener();
    ~FullBacklogListener();
    FullBacklogListener(const FullBacklogListener&) = delete;
    FullBacklogListener& operator=(const FullBacklogListener&) = delete;

    std::uint16_t port() const { return port_; }
    // Whether the queue is full, so that a connection request to the port goes unanswered.
    bool full() const;
    // How many connections wait in the queue: the listener's own while no other got in.
    unsigned queued() const;

private:
    int listener_ = -1;
    std::vector<int> fillers_;
    std::uint16_t port_ = 0;
};

} // namespace testing_support
