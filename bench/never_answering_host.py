#!/usr/bin/env python3
"""A port on 127.0.0.1 whose listener never answers a new connection.

It listens with no room in its queue of connections waiting to be accepted, fills that queue with one
connection of its own and never accepts it: the system then drops every further connection request to the
port unanswered, as a host that is down or behind a filter does, and the client keeps waiting.
Usage: never_answering_host.py PORT READY_FILE   (READY_FILE is made once the queue is full)
"""

import select
import socket
import struct
import sys
import time

port, ready = int(sys.argv[1]), sys.argv[2]

listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", port))
listener.listen(0)


def full():
    # A listening socket's TCP_INFO reports the connections waiting to be accepted as `unacked` and the room
    # for them as `sacked` (two 32-bit fields after eight bytes of small ones and four other 32-bit fields).
    info = listener.getsockopt(socket.IPPROTO_TCP, socket.TCP_INFO, 104)
    unacked, room = struct.unpack_from("II", info, 24)
    return unacked > room


fillers = []
while not full():
    if len(fillers) >= 8:
        sys.exit("the listener's queue did not fill")
    filler = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    filler.setblocking(False)
    filler.connect_ex(("127.0.0.1", port))
    fillers.append(filler)
    for _ in range(1000):
        if full() or select.select([], [filler], [], 0.01)[1]:
            break

open(ready, "w").close()
while True:
    time.sleep(3600)
