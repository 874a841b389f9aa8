#!/usr/bin/env python3
"""Port 443 of a service that lets a till's TLS down in one way, for the
connection check's tests: failing-server.py KIND ADDRESS CERT KEY PIDFILE.

  plain        a plain HTTP service: it answers the ClientHello with a 400 page
  hello-close  reads the ClientHello and closes the connection
  tls13        TLS 1.3 only
  tls10        TLS 1.0 only
  no-suite     TLS 1.2 with a NULL cipher only, which no client offers
  client-cert  demands a client certificate
  certificate  whatever CERT is (an expired one, one for another name)

A completed handshake gets one HTTP reply: the service's refusal of the card
({"Status":2,...}) for a POST, an empty
200 for anything else. Serves for at most ten minutes, one thread per
connection, until killed."""
import socket
import ssl
import sys
import threading
import time

kind, address, cert, key, pidfile = sys.argv[1:6]


def context():
    c = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    c.load_cert_chain(cert, key)
    if kind == "tls13":
        c.minimum_version = ssl.TLSVersion.TLSv1_3
    elif kind == "tls10":
        c.set_ciphers("DEFAULT:@SECLEVEL=0")
        c.minimum_version = c.maximum_version = ssl.TLSVersion.TLSv1
    elif kind == "no-suite":
        c.maximum_version = ssl.TLSVersion.TLSv1_2
        c.set_ciphers("NULL-SHA256:@SECLEVEL=0")
    elif kind == "client-cert":
        c.verify_mode = ssl.CERT_REQUIRED
        c.load_verify_locations(cert)  # no client's certificate comes from there
    return c


def answer(conn):
    request = b""
    while b"\r\n\r\n" not in request and len(request) < 65536:
        chunk = conn.recv(4096)
        if not chunk:
            return
        request += chunk
    head, _, body = request.partition(b"\r\n\r\n")
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value.strip())
    while len(body) < length:
        chunk = conn.recv(4096)
        if not chunk:
            break
        body += chunk
    reply = b'{"Status":2,"ErrorMessage":"no such card"}' if head.startswith(b"POST ") else b""
    conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: %d\r\n"
                 b"Connection: close\r\n\r\n%s" % (len(reply), reply))


def serve(conn, tls):
    conn.settimeout(10)
    try:
        if kind == "plain":
            conn.recv(4096)
            conn.sendall(b"HTTP/1.1 400 Bad Request\r\nContent-Type: text/html\r\n"
                         b"Content-Length: 24\r\nConnection: close\r\n\r\n<html>Bad Request</html>")
        elif kind == "hello-close":
            conn.recv(4096)
        else:
            with tls.wrap_socket(conn, server_side=True) as s:
                answer(s)
    except (OSError, ssl.SSLError):
        pass
    finally:
        conn.close()


def main():
    tls = None if kind in ("plain", "hello-close") else context()
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((address, 443))
    listener.listen(16)
    listener.settimeout(1)
    with open(pidfile, "w") as f:
        f.write("%d\n" % __import__("os").getpid())
    end = time.monotonic() + 600
    while time.monotonic() < end:
        try:
            conn, _ = listener.accept()
        except socket.timeout:
            continue
        threading.Thread(target=serve, args=(conn, tls), daemon=True).start()


main()
