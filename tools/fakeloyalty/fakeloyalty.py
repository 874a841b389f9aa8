#!/usr/bin/env python3
"""A fake loyalty service for demos and tests.

Serves POST /v1/GuestInfo/<token>, /v1/GetDiscount/<token>, /v1/CloseOrder/<token>
and /v1/ReturnOrder/<token> on loopback addresses only, over HTTP and (with a
certificate) HTTPS. What it does for a request is chosen by the API token (the
last path segment) from a scenario; every request it receives is recorded.

Control API, on every listener:
  POST /__control/scenario     body: one scenario (see below); replaces the token's
  POST /__control/reset        forgets all scenarios (except start-up ones) and records
  GET  /__control/requests?token=T   {"requests": [{"method", "path", "headers": [[k, v]],
                                      "body_hex", "tls", "time", "client_closed"}]}
  GET  /__control/ping         "ok"

Scenario: {"token": "T", "paths": {"GuestInfo": B, "GetDiscount": B, ..., "*": B}}
where B is one behaviour or a list of them (the n-th request to that path gets the
n-th entry, the last one repeats). A behaviour:
  {"action": "reply" | "hang" | "close",   # answer / accept and never answer / drop
   "status": 200, "body": "text", "size": N,  # size: body repeated and cut to N bytes
   "delay_ms": 0, "content_type": "application/json; charset=utf-8",
   "cut": N,                                 # announce N bytes more than sent, then hang up
   "date_offset_s": S}                       # the Date header S seconds off this clock
The token "*" is the fallback for tokens without a scenario of their own.
A behaviour may also choose by the request body, so that one token can serve
several guests: {"by_body": [{"contains": "text", <behaviour>}, ...], "default": B}
takes the first case whose "contains" text occurs in the (UTF-8) body, else B.

Fault mode, for soak tests: {"action": "faults", "seed": S, "body": "<the good reply>",
"weights": {"ok": 10, "close": 1, ...}} answers each request with the good reply or a
fault chosen at random (one generator per token, seeded with S at the token's first
request, so a fixed seed gives a fixed sequence). Faults: "close" (hang up without a
reply), "delay" (the good reply after up to "delay_ms_max", default 300 ms), "hang" (no
reply for "hang_ms", default 4000 ms, or until the client gives up), "garbage" (random
bytes), "truncated" (the good reply cut short), "oversize" (the good reply behind more
than 1 MiB of padding), "wrongtype" (one member of the good reply with a value of
another JSON type), "status" (the good reply with another "Status"). Records then also
carry "fault", "replied" (the whole reply was written) and "reply_status" (the integer
"Status" of the reply text up to its first zero byte and within 1 MiB, else null).

POST /__control/forget  body {"token": T}: drops that token's scenario, records and state.
"""
import argparse
import json
import os
import random
import select
import signal
import socket
import ssl
import sys
import threading
import time
from email.utils import formatdate
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

API_PATHS = ("GuestInfo", "GetDiscount", "CloseOrder", "ReturnOrder")
MAX_BODY = 1 << 20          # request bodies accepted
MAX_REPLY = 16 << 20        # largest reply a scenario may ask for
MAX_WAIT_S = 600            # bound of every delay and of "hang"
MAX_RECORDS = 10000
STEP_S = 0.05
CLIENT_REPLY_LIMIT = 1 << 20  # what the module keeps of a reply
FAULTS = ("ok", "close", "delay", "hang", "garbage", "truncated", "oversize", "wrongtype",
          "status")


class State:
    def __init__(self):
        self.lock = threading.Lock()
        self.scenarios = {}
        self.startup = {}
        self.records = []
        self.counts = {}
        self.rngs = {}
        self.stopping = threading.Event()

    def set_scenario(self, scenario, startup=False):
        token = str(scenario["token"])
        paths = scenario.get("paths", {})
        if not isinstance(paths, dict):
            raise ValueError("paths must be an object")
        with self.lock:
            (self.startup if startup else self.scenarios)[token] = paths
            for key in list(self.counts):
                if key[0] == token:
                    del self.counts[key]
            self.rngs.pop(token, None)

    def reset(self):
        with self.lock:
            self.scenarios = {}
            self.records = []
            self.counts = {}
            self.rngs = {}

    def forget(self, token):
        with self.lock:
            self.scenarios.pop(token, None)
            self.records = [r for r in self.records if r["token"] != token]
            for key in list(self.counts):
                if key[0] == token:
                    del self.counts[key]
            self.rngs.pop(token, None)

    def draw(self, token, seed, fn):
        """Runs fn(rng) with the token's generator, under the lock, so that the
        draws of one token follow each other in request order."""
        with self.lock:
            rng = self.rngs.get(token)
            if rng is None:
                rng = self.rngs[token] = random.Random(seed)
            return fn(rng)

    def behaviour(self, token, name):
        with self.lock:
            paths = self.scenarios.get(token) or self.startup.get(token)
            if paths is None:
                paths = self.scenarios.get("*") or self.startup.get("*")
            if paths is None:
                return None
            entry = paths.get(name, paths.get("*"))
            if entry is None:
                return None
            if isinstance(entry, list):
                n = self.counts.get((token, name), 0)
                self.counts[(token, name)] = n + 1
                return entry[min(n, len(entry) - 1)] if entry else None
            return entry

    def record(self, rec):
        with self.lock:
            if len(self.records) < MAX_RECORDS:
                self.records.append(rec)

    def requests(self, token):
        with self.lock:
            return [r for r in self.records if token is None or r["token"] == token]


STATE = State()


def wait(seconds, sock=None):
    """Sleeps up to `seconds` (bounded); with `sock`, returns True early when the
    client has closed its side."""
    end = time.monotonic() + min(max(seconds, 0), MAX_WAIT_S)
    while not STATE.stopping.is_set():
        left = end - time.monotonic()
        if left <= 0:
            return False
        if sock is not None:
            try:
                readable, _, _ = select.select([sock], [], [], min(STEP_S, left))
                if readable:
                    # TLS sockets cannot peek; nothing more is read from them anyway.
                    peek = sock.recv(1) if isinstance(sock, ssl.SSLSocket) \
                        else sock.recv(1, socket.MSG_PEEK)
                    if peek == b"":
                        return True
            except (OSError, ValueError):
                return True
        else:
            time.sleep(min(STEP_S, left))
    return False


def by_body(b, body):
    """Resolves a behaviour that chooses by the request body (see the top)."""
    if not isinstance(b, dict) or "by_body" not in b:
        return b
    text = body.decode("utf-8", "replace")
    for case in b["by_body"]:
        if isinstance(case, dict) and str(case.get("contains", "")) in text:
            return case
    return b.get("default")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "fakeloyalty"
    timeout = 120

    def setup(self):
        super().setup()
        try:
            self.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        except OSError:
            pass

    def log_message(self, fmt, *args):
        sys.stderr.write("%s %s\n" % (self.address_string(), fmt % args))

    def send_whole(self, status, body, content_type="application/json; charset=utf-8", cut=0,
                   date_offset=0):
        # Head and body in one write: two writes stall every exchange on Nagle.
        reason = self.responses.get(status, ("",))[0]
        date = formatdate(time.time() + date_offset, usegmt=True)
        head = ("HTTP/1.1 %d %s\r\nDate: %s\r\nContent-Type: %s\r\nContent-Length: %d\r\n\r\n"
                % (status, reason, date, content_type, len(body) + cut)).encode("latin-1")
        self.wfile.write(head + body)
        if cut:
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)

    def quick_ack(self):
        # Clients that write the head and the body of a request separately
        # (WinInet does) would otherwise wait for our delayed ACK before the
        # body leaves them; acknowledge the head at once.
        try:
            self.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_QUICKACK, 1)
        except (OSError, AttributeError):
            pass

    def parse_request(self):
        ok = super().parse_request()
        self.quick_ack()
        return ok

    def read_body(self):
        length = int(self.headers.get("Content-Length") or 0)
        if length < 0 or length > MAX_BODY:
            raise ValueError("request body too large")
        return self.rfile.read(length) if length else b""

    def do_GET(self):
        url = urlsplit(self.path)
        if url.path == "/__control/ping":
            return self.send_whole(200, b"ok", "text/plain")
        if url.path == "/__control/requests":
            token = parse_qs(url.query).get("token", [None])[0]
            body = json.dumps({"requests": STATE.requests(token)}).encode()
            return self.send_whole(200, body)
        return self.serve_api(b"")

    def do_POST(self):
        try:
            body = self.read_body()
        except ValueError:
            self.close_connection = True
            return self.send_whole(413, b'{"Error":"too large"}')
        path = urlsplit(self.path).path
        if path.startswith("/__control/"):
            return self.control(path, body)
        return self.serve_api(body)

    def control(self, path, body):
        try:
            if path == "/__control/scenario":
                STATE.set_scenario(json.loads(body.decode("utf-8")))
            elif path == "/__control/reset":
                STATE.reset()
            elif path == "/__control/forget":
                STATE.forget(str(json.loads(body.decode("utf-8"))["token"]))
            else:
                return self.send_whole(404, b'{"Error":"unknown control"}')
        except (ValueError, KeyError, TypeError) as e:
            return self.send_whole(400, json.dumps({"Error": str(e)}).encode())
        return self.send_whole(200, b'{"Ok":true}')

    def serve_api(self, body):
        path = urlsplit(self.path).path
        parts = path.strip("/").split("/")
        token = parts[-1] if parts else ""
        name = parts[1] if len(parts) == 3 and parts[0] == "v1" else ""
        rec = {
            "method": self.command,
            "path": self.path,
            "headers": [[k, v] for k, v in self.headers.items()],
            "body_hex": body.hex(),
            "tls": isinstance(self.connection, ssl.SSLSocket),
            "time": time.time(),
            "client_closed": None,
            "token": token,
        }
        STATE.record(rec)
        if self.command != "POST" or name not in API_PATHS:
            return self.send_whole(404, b'{"Status":0,"Message":"no such request"}')
        b = by_body(STATE.behaviour(token, name), body)
        if b is None:
            return self.send_whole(404, b'{"Status":0,"Message":"no scenario for this token"}')
        self.act(b, rec)

    def act(self, b, rec):
        action = b.get("action", "reply")
        if action == "faults":
            return self.act_faults(b, rec)
        if action == "hang":
            # Accept and never answer; notice when the client gives up.
            if wait(b.get("max_s", MAX_WAIT_S), self.connection):
                rec["client_closed"] = time.time()
            self.close_connection = True
            return
        if wait(b.get("delay_ms", 0) / 1000.0, self.connection):
            rec["client_closed"] = time.time()
            self.close_connection = True
            return
        if action == "close":
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            return
        body = b.get("body", "").encode("utf-8")
        if "size" in b:
            size = min(int(b["size"]), MAX_REPLY)
            pattern = body or b"x"
            body = (pattern * (size // len(pattern) + 1))[:size]
        self.send_whole(int(b.get("status", 200)), body,
                        b.get("content_type", "application/json; charset=utf-8"),
                        max(0, int(b.get("cut", 0))), float(b.get("date_offset_s", 0)))


    def act_faults(self, b, rec):
        good = b.get("body", "").encode("utf-8")
        weights = b.get("weights", {"ok": 1})
        plan = STATE.draw(rec["token"], b.get("seed", 0),
                          lambda rng: plan_fault(rng, weights, good, b))
        rec["fault"], rec["replied"], rec["reply_status"] = plan["fault"], False, None
        if plan["wait_ms"] and wait(plan["wait_ms"] / 1000.0, self.connection):
            rec["client_closed"] = time.time()
        if plan["body"] is None or rec["client_closed"] is not None:
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            return
        # Recorded before the write: the client may act on the reply (and ask for
        # the records) before this thread runs again.
        rec["reply_status"] = status_of(plan["body"])
        rec["replied"] = True
        try:
            self.send_whole(200, plan["body"])
        except OSError:
            rec["replied"] = False
            raise


def plan_fault(rng, weights, good, b):
    """What to do with one request: the fault's name, how long to wait first and
    the body to send (None: hang up)."""
    names = [f for f in FAULTS if weights.get(f, 0) > 0] or ["ok"]
    fault = rng.choices(names, weights=[weights.get(f, 1) for f in names])[0]
    plan = {"fault": fault, "wait_ms": 0, "body": good}
    if fault == "close":
        plan["body"] = None
    elif fault == "delay":
        plan["wait_ms"] = rng.randint(1, int(b.get("delay_ms_max", 300)))
    elif fault == "hang":
        plan["wait_ms"], plan["body"] = int(b.get("hang_ms", 4000)), None
    elif fault == "garbage":
        plan["body"] = rng.randbytes(rng.randint(1, 3000))
    elif fault == "truncated":
        plan["body"] = good[:rng.randint(0, max(len(good) - 1, 0))]
    elif fault == "oversize":
        pad = b" " * (CLIENT_REPLY_LIMIT + rng.randint(1, 4096))
        plan["body"] = b'{"Pad":"' + pad + b'",' + good.lstrip()[1:] if good.startswith(b"{") \
            else pad + good
    elif fault == "wrongtype":
        plan["body"] = retype_member(rng, good)
    elif fault == "status":
        plan["body"] = restatus(rng, good)
    return plan


OTHER_TYPES = ('"1"', "1", "1.5", "null", "true", "[]", "{}", '"x"', "-1", "4294967297")


def retype_member(rng, good):
    try:
        doc = json.loads(good)
    except ValueError:
        return good
    if not isinstance(doc, dict) or not doc:
        return good
    key = rng.choice(sorted(doc))
    current = json.dumps(doc[key])
    choices = [t for t in OTHER_TYPES if type(json.loads(t)) is not type(doc[key])] or [current]
    doc[key] = json.loads(rng.choice(choices))
    return json.dumps(doc, ensure_ascii=False, separators=(",", ":")).encode("utf-8")


def restatus(rng, good):
    try:
        doc = json.loads(good)
    except ValueError:
        return good
    if not isinstance(doc, dict):
        return good
    doc["Status"] = rng.choice([0, 2, 3, -1, 100])
    return json.dumps(doc, ensure_ascii=False, separators=(",", ":")).encode("utf-8")


def status_of(body):
    """The integer "Status" the module reads from this reply, or None."""
    text = body[:CLIENT_REPLY_LIMIT].split(b"\0", 1)[0]
    try:
        # The module does not validate UTF-8; neither may this judgement.
        doc = json.loads(text.decode("utf-8", "replace"))
    except ValueError:
        return None
    status = doc.get("Status") if isinstance(doc, dict) else None
    return status if isinstance(status, int) and not isinstance(status, bool) else None


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # Clients that drop the connection or refuse the certificate are part of the tests.
        sys.stderr.write("%s: %s\n" % (client_address[0], sys.exc_info()[1]))


def loopback(address):
    if not address.startswith("127."):
        raise SystemExit("fakeloyalty: binds loopback addresses (127.x.x.x) only, not %s" % address)
    return address


MOVED_BY = "the --http/--https option"


def make_server(address, port, cert=None, key=None):
    try:
        server = Server((loopback(address), port), Handler)
    except OSError as e:
        # One line a person can act on, not a traceback.
        raise SystemExit("fakeloyalty: cannot listen on %s:%d (%s); set %s to another "
                         "loopback address" % (address, port, e.strerror or e, MOVED_BY))
    if cert:
        ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        ctx.load_cert_chain(cert, key)
        server.socket = ctx.wrap_socket(server.socket, server_side=True,
                                        do_handshake_on_connect=False)
    return server


class TlsHandler(Handler):
    def setup(self):
        self.request.settimeout(30)
        self.request.do_handshake()  # in the connection's own thread, never in accept
        self.request.settimeout(None)
        super().setup()


def main():
    ap = argparse.ArgumentParser(description="Fake loyalty service (loopback only).")
    ap.add_argument("--http", action="append", default=[], metavar="ADDR:PORT",
                    help="plain HTTP listener, e.g. 127.0.0.2:80 (repeatable)")
    ap.add_argument("--https", action="append", default=[], metavar="ADDR:PORT:CERT:KEY",
                    help="HTTPS listener with a PEM certificate chain and key (repeatable)")
    ap.add_argument("--scenario", action="append", default=[], metavar="FILE",
                    help="JSON file with a scenario or a list of them, kept across resets")
    ap.add_argument("--pid-file", help="written once every listener is bound")
    ap.add_argument("--moved-by", metavar="NAME",
                    help="the setting that moves the address, named when it is taken")
    args = ap.parse_args()
    if args.moved_by:
        global MOVED_BY
        MOVED_BY = args.moved_by
    if not args.http and not args.https:
        ap.error("give at least one --http or --https listener")

    for f in args.scenario:
        with open(f, encoding="utf-8") as fh:
            data = json.load(fh)
        for sc in data if isinstance(data, list) else [data]:
            STATE.set_scenario(sc, startup=True)

    servers = []
    for listener in args.http:
        addr, port = listener.rsplit(":", 1)
        servers.append(make_server(addr, int(port)))
    for listener in args.https:
        addr, port, cert, key = listener.split(":", 3)
        s = make_server(addr, int(port), cert, key)
        s.RequestHandlerClass = TlsHandler
        servers.append(s)

    def stop(*_):
        STATE.stopping.set()
        for s in servers:
            threading.Thread(target=s.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    threads = [threading.Thread(target=s.serve_forever, kwargs={"poll_interval": 0.2})
               for s in servers]
    for t in threads:
        t.start()
    if args.pid_file:
        tmp = args.pid_file + ".tmp"
        with open(tmp, "w") as fh:
            fh.write("%d\n" % os.getpid())
        os.replace(tmp, args.pid_file)
    print("fakeloyalty: serving on %s" % ", ".join(args.http + [h.split(":")[0] + ":" + h.split(":")[1] for h in args.https]),
          flush=True)
    while not STATE.stopping.is_set():
        STATE.stopping.wait(0.5)
    for t in threads:
        t.join(timeout=5)
    for s in servers:
        s.server_close()
    if args.pid_file:
        try:
            os.remove(args.pid_file)
        except OSError:
            pass


if __name__ == "__main__":
    main()
