#pragma once
// Ends a connection of a test server with a reset instead of an orderly close, as a peer that aborts does:
// what was written goes out first, then the system sends a reset in place of the end of the stream.

class QTcpSocket;

namespace testing_support {

void ResetConnection(QTcpSocket& socket);

} // namespace testing_support
