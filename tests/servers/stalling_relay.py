"""Relays connections on a loopback port to another one; while a flag file
exists, the next connection is held instead, without a word, and the file
removed: a server that accepts and never answers, once. Connections to the
slow port are relayed too, what the client sends at 4 MB a second: a long
way to the server.

    python3 stalling_relay.py LISTEN-PORT TARGET-PORT FLAG-FILE SLOW-PORT
"""
import os
import socket
import sys
import threading
import time

SLOW_CHUNK = 65536
SLOW_PAUSE = SLOW_CHUNK / (4 * 1024 * 1024)


def pipe(source, target, pause=0):
    try:
        while True:
            data = source.recv(SLOW_CHUNK)
            if not data:
                break
            target.sendall(data)
            time.sleep(pause)
    except OSError:
        pass
    finally:
        for s in (source, target):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


def hold(client):
    # Reads and drops what comes, until the client gives up.
    try:
        while client.recv(65536):
            pass
    except OSError:
        pass
    client.close()


def relay(client, target_port, pause):
    try:
        server = socket.create_connection(("127.0.0.1", target_port))
    except OSError:
        client.close()
        return
    threading.Thread(target=pipe, args=(server, client), daemon=True).start()
    pipe(client, server, pause)


def serve(client, target_port, flag):
    try:
        os.remove(flag)
        return hold(client)
    except FileNotFoundError:
        relay(client, target_port, 0)


def listen(port, serve_one):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(16)
    while True:
        client, _ = listener.accept()
        threading.Thread(target=serve_one, args=(client,), daemon=True).start()


def main():
    listen_port, target_port, flag, slow_port = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
    threading.Thread(target=listen, args=(slow_port, lambda client: relay(client, target_port, SLOW_PAUSE)),
                     daemon=True).start()
    listen(listen_port, lambda client: serve(client, target_port, flag))


if __name__ == "__main__":
    main()
