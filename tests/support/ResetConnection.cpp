#include "support/ResetConnection.h"

#include <QTcpSocket>

#include <sys/socket.h>

namespace testing_support {

void ResetConnection(QTcpSocket& socket) {
    socket.flush();
    // Lingering for no time on close makes the system reset the connection.
    const linger now{1, 0};
    ::setsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now);
    socket.abort();
}

} // namespace testing_support
