#!/usr/bin/env python3
"""A one-purpose HTTP/1.0 server for the end-to-end update check: it records each request's bytes and answers
every request with the page given on the command line, with status 200. Once it listens it creates the file
named by its fourth argument, so that the test waits for that instead of for time. A fifth argument "short"
cuts each reply short: it announces more bytes than it sends before it closes the connection."""

import socket
import sys


def main() -> None:
    port, document_path, log_path, ready_path = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    announced_extra = 100 if len(sys.argv) > 5 and sys.argv[5] == "short" else 0
    with open(document_path, "rb") as f:
        body = f.read()
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(4)
    open(ready_path, "w").close()
    server.settimeout(120)
    while True:
        try:
            connection, _ = server.accept()
        except socket.timeout:
            return
        with connection:
            connection.settimeout(10)
            request = b""
            while b"\r\n\r\n" not in request:
                chunk = connection.recv(4096)
                if not chunk:
                    break
                request += chunk
            with open(log_path, "ab") as log:
                log.write(request)
            reply = b"HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nContent-length: %d\r\n\r\n" % (
                len(body) + announced_extra)
            connection.sendall(reply + body)


if __name__ == "__main__":
    main()
