#!/usr/bin/env python3
"""Attacks on the sync server executable. During each, the owner's requests must keep being
answered within 1 s and the server's resident memory must stay under 100 MB.

    server_attacks.py PATH/TO/furrow-sync-server [ATTACK ...]

FURROW_ATTACKS_LONG=1 runs each attack longer and at full size."""

import json
import os
import random
import select
import socket
import ssl
import sys
import threading
import time

from attack_kit import (LONG, TOKEN, Server, Watch, connect, exchange, now_ms, read_answer,
                        record, request_bytes, run_for, sync_body)

SECONDS = 20 if LONG else 2.0
MB = 1024 * 1024
ATTACKS = []


def attack(tls=False, prepare=None, open_files=None):
    """Registers an attack; `prepare(server)` runs before the owner starts watching, and
    `open_files` is the server's limit on open files."""
    def register(function):
        ATTACKS.append((function.__name__, function, tls, prepare, open_files))
        return function
    return register


def closed_by_peer(sock):
    """Whether the server has closed (or answered on) the connection, without waiting."""
    readable, _, _ = select.select([sock], [], [], 0)
    return bool(readable)


def flood(server, stop, source, first, filler, budget):
    """Sends `first` then `filler` over and over on one connection after another, until
    `budget` bytes went out or the time is up. Answers the statuses the server gave."""
    statuses, sent = [], 0
    while not stop.is_set() and sent < budget:
        sock = connect(server.port, source)
        try:
            sock.sendall(first)
            while not stop.is_set() and sent < budget and not closed_by_peer(sock):
                sock.sendall(filler)
                sent += len(filler)
        except OSError:
            pass
        statuses.append(read_answer(sock)[0] if closed_by_peer(sock) else -1)
        sock.close()
    return statuses


@attack()
def header_flood(server):
    """8 connections without a token sending header lines without end."""
    statuses = []
    line = b"X-Flood: " + b"a" * 1000 + b"\r\n"
    budget = (200 if LONG else 20) * MB // 8
    run_for(SECONDS, [lambda stop: statuses.extend(
        flood(server, stop, "127.0.0.2", b"POST /v1/sync HTTP/1.1\r\nHost: x\r\n", line, budget))
        for _ in range(8)])
    return [] if 431 in statuses else ["no 431 for a flood of headers: %s" % statuses[:8]]


@attack()
def huge_request_line(server):
    """4 connections sending one request line of 200 MB (20 MB in the short run)."""
    statuses = []
    budget = (200 if LONG else 20) * MB
    run_for(SECONDS, [lambda stop: statuses.extend(
        flood(server, stop, "127.0.0.3", b"GET /", b"a" * 65536, budget)) for _ in range(4)])
    return [] if 431 in statuses else ["no 431 for a huge request line: %s" % statuses[:8]]


def client_hello():
    """The first flight of a TLS client, to be sent a byte at a time."""
    context = ssl.create_default_context()
    incoming, outgoing = ssl.MemoryBIO(), ssl.MemoryBIO()
    tls = context.wrap_bio(incoming, outgoing, server_hostname="127.0.0.1")
    try:
        tls.do_handshake()
    except ssl.SSLWantReadError:
        pass
    return outgoing.read()


def trickle(server, lifetimes, stop):
    """One connection after another sending its request a byte every 2 s; records how long
    each lived before the server closed it."""
    payload = client_hello() if server.tls else request_bytes(sync_body("trickler"))
    while not stop.is_set():
        sock = connect(server.port, "127.0.0.4")
        opened = time.monotonic()
        try:
            for byte in payload:
                sock.sendall(bytes([byte]))
                if stop.wait(2.0) or closed_by_peer(sock):
                    break
        except OSError:
            pass
        if closed_by_peer(sock):
            lifetimes.append(time.monotonic() - opened)
        sock.close()


def trickle_attack(server):
    lifetimes = []
    run_for(max(SECONDS, 6.5), [lambda stop: trickle(server, lifetimes, stop)
                                for _ in range(8)])
    late = [round(t, 1) for t in lifetimes if t > 7.5]
    if len(lifetimes) < 8:
        return ["only %d of the trickling connections were closed" % len(lifetimes)]
    return ["trickling connections lived %s s" % late] if late else []


@attack()
def trickling_request(server):
    """8 connections sending a request a byte every 2 s: each is closed by its deadline."""
    return trickle_attack(server)


@attack(tls=True)
def trickling_tls_hello(server):
    """8 connections sending a TLS ClientHello a byte every 2 s."""
    return trickle_attack(server)


def hold_idle(server, stop, count, source):
    """Holds `count` connections that never send, reopening each as soon as the server closes
    it."""
    open_ = []
    while not stop.is_set():
        while len(open_) < count:
            try:
                open_.append(connect(server.port, source))
            except OSError:
                break
        for sock in [s for s in open_ if closed_by_peer(s)]:
            sock.close()
            open_.remove(sock)
        stop.wait(0.05)
    for sock in open_:
        sock.close()


@attack()
def idle_connections(server):
    """64 connections that never send, reopened as soon as the server closes one."""
    run_for(SECONDS, [lambda stop: hold_idle(server, stop, 64, "127.0.0.5")])
    return []


@attack(open_files=48)
def few_open_files(server):
    """Allowed 48 open files (ulimit -n 48), the server holds fewer connections rather than
    spinning on a full table while 60 that never send are reopened as soon as it closes one."""
    cpu, start = server.cpu_seconds(), time.monotonic()
    run_for(SECONDS, [lambda stop: hold_idle(server, stop, 60, "127.0.0.6")])
    share = (server.cpu_seconds() - cpu) / (time.monotonic() - start)
    return ["the server used %.0f %% of a processor" % (share * 100)] if share > 0.3 else []


def tls_handshake(port, version, ciphers):
    """Whether a TLS handshake offering only `ciphers` at most at `version` succeeds."""
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT)
    context.check_hostname = False
    context.verify_mode = ssl.CERT_NONE
    context.maximum_version = version
    context.set_ciphers(ciphers)
    try:
        with context.wrap_socket(connect(port)):
            return True
    except (ssl.SSLError, OSError):
        return False


@attack(tls=True)
def weak_tls_ciphers(server):
    """TLS 1.2 clients offering only ciphers without forward secrecy or without AEAD are
    refused; ECDHE with AES-GCM and TLS 1.3 are served."""
    v12, v13 = ssl.TLSVersion.TLSv1_2, ssl.TLSVersion.TLSv1_3
    cases = [(v12, "AES128-SHA:AES256-SHA256:AES128-GCM-SHA256", False),
             (v12, "ECDHE-ECDSA-AES128-SHA:ECDHE-ECDSA-AES256-SHA384", False),
             (v12, "ECDHE-ECDSA-AES128-GCM-SHA256", True),
             (v13, "DEFAULT", True)]
    return ["TLS %s with %s: %s" % (version.name, ciphers, "served" if served else "refused")
            for version, ciphers, expected in cases
            for served in [tls_handshake(server.port, version, ciphers)] if served != expected]


@attack()
def stranger_guessing_tokens(server):
    """Bad tokens 50 times a second from the owner's own address."""
    statuses = []

    def guess(stop):
        while not stop.wait(0.02):
            statuses.append(exchange(server.port, sync_body("stranger"), token="guess-%d"
                                     % random.randrange(10**9))[0])

    run_for(SECONDS, [guess])
    wrong = set(statuses) - {401, 429}
    return ["guesses answered %s" % wrong] if wrong or 429 not in statuses else []


@attack()
def nested_brackets(server):
    """8 MiB of nested [ with a valid token, from two connections at once."""
    prefix = b'{"device":"D","since":0,"changes":'
    body = prefix + b"[" * (8 * MB - len(prefix))
    statuses = []
    run_for(SECONDS, [lambda stop: [statuses.append(exchange(server.port, body)[0])
                                    for _ in iter(lambda: stop.is_set(), True)]
                      for _ in range(2)])
    return [] if statuses and set(statuses) == {400} else ["nesting answered %s" % statuses]


def pull_all(port, device, tls=False):
    """Every record from the cursor 0, page after page."""
    records, since, more = {}, 0, True
    while more:
        status, answer = exchange(port, sync_body(device, since), tls=tls)
        assert status == 200, "pull answered %d" % status
        page = json.loads(answer)
        records.update(((r["kind"], r["id"]), r) for r in page["changes"])
        since, more = page["seq"], page["more"]
    return records


def seed_large_records(server):
    box = "B" * (100 * 1024)
    for batch in range(5):
        changes = [record("big-%d-%d" % (batch, n), box=box) for n in range(60)]
        assert exchange(server.port, sync_body("seeder", 0, changes))[0] == 200


@attack(prepare=seed_large_records)
def large_pull_pages(server):
    """Four devices pulling 30 MB of records in pages of 4 MiB over and over."""
    def pull(stop):
        while not stop.is_set():
            pull_all(server.port, "puller-%d" % random.randrange(1000))

    run_for(SECONDS, [pull for _ in range(4)])
    return []


@attack()
def far_future_stamps(server):
    """Records stamped INT64_MAX (and beyond it) are refused and never stored."""
    problems = []
    for stamp in (2**63 - 1, 2**63, now_ms() + 400 * 86_400_000):
        status, _ = exchange(server.port, sync_body("D", 0, [record("future", stamp)]))
        if status != 400:
            problems.append("updatedAt %d answered %d" % (stamp, status))
    if ("task", "future") in pull_all(server.port, "checker"):
        problems.append("a record from the future was stored")
    return problems


@attack()
def half_close_after_sending(server):
    """The client shuts its sending side right after its request: it still gets its answer,
    and what it pushed is stored."""
    problems, n = [], 0
    deadline = time.monotonic() + SECONDS
    while time.monotonic() < deadline and not problems:
        sock = connect(server.port)
        sock.sendall(request_bytes(sync_body("half", 0, [record("half-%d" % n)])))
        sock.shutdown(socket.SHUT_WR)
        status, _ = read_answer(sock)
        sock.close()
        if status != 200:
            problems.append("half-closed request answered %d" % status)
        n += 1
    stored = pull_all(server.port, "checker")
    missing = [i for i in range(n) if ("task", "half-%d" % i) not in stored]
    return problems + (["half-closed pushes missing: %s" % missing[:5]] if missing else [])


def large_pushes(binary):
    """40 pushes of 8 MiB (10 in the short run), two at a time: once they are done, the server
    has given the memory back. Apart from the attacks: an 8 MiB push takes the database for
    longer than the owner's bound of 1 s."""
    server = Server(binary)
    box = "C" * (128 * 1024)
    idle_mb, statuses = server.rss_mb(), []

    def push(first):
        since = 0
        for n in range(first, 40 if LONG else 10, 2):
            changes = [record("large-%d-%d" % (n, k), box=box) for k in range(63)]
            status, answer = exchange(server.port, sync_body("pusher-%d" % first, since, changes),
                                      timeout=60.0)
            statuses.append(status)
            since = json.loads(answer)["seq"] if status == 200 else since

    try:
        pushers = [threading.Thread(target=push, args=(first,)) for first in (0, 1)]
        for pusher in pushers:
            pusher.start()
        for pusher in pushers:
            pusher.join()
        # A connection's memory goes once the server has seen the client close it.
        settled_mb, deadline = server.rss_mb(), time.monotonic() + 3
        while settled_mb >= 100 and time.monotonic() < deadline:
            time.sleep(0.1)
            settled_mb = min(settled_mb, server.rss_mb())
    finally:
        server.stop()
    print("large pushes: resident %.0f MB idle, %.0f MB after (%.2f×)"
          % (idle_mb, settled_mb, settled_mb / idle_mb), flush=True)
    problems = ["pushes answered %s" % set(statuses)] if set(statuses) != {200} else []
    return problems + (["%.0f MB resident after the pushes" % settled_mb]
                       if settled_mb >= 100 else [])


def durability_rounds(binary):
    """Push, kill -9 mid-push, restart: every acknowledged record is there."""
    server = Server(binary)
    problems, acknowledged = [], set()
    try:
        for round_ in range(20 if LONG else 3):
            stop = threading.Event()

            def push():
                n = 0
                while not stop.is_set():
                    ids = ["r%d-%d-%d" % (round_, n, k) for k in range(50)]
                    try:
                        status, _ = exchange(server.port, sync_body("pusher", 0,
                                                                    map(record, ids)))
                    except OSError:
                        return
                    if status == 200:
                        acknowledged.update(ids)
                    n += 1

            pusher = threading.Thread(target=push)
            pusher.start()
            time.sleep(random.uniform(0.3, 1.0))
            server.kill()
            stop.set()
            pusher.join()
            server.start()
            stored = {ident for _, ident in pull_all(server.port, "checker-%d" % round_)}
            if acknowledged - stored:
                problems.append("round %d lost %d acknowledged records"
                                % (round_, len(acknowledged - stored)))
        if not acknowledged:
            problems.append("nothing was acknowledged")
    finally:
        server.stop()
    return problems


def main(arguments):
    binary, chosen = arguments[0], set(arguments[1:])
    failed = 0
    for name, function, tls, prepare, open_files in ATTACKS:
        if chosen and name not in chosen:
            continue
        server = Server(binary, tls=tls, open_files=open_files)
        try:
            if prepare:
                prepare(server)
            with Watch(server) as watch:
                problems = function(server)
            problems += watch.verdict()
        finally:
            server.stop()
        failed += bool(problems)
        print("%s: %s (owner served %d, slowest %.3f s, peak RSS %.0f MB)"
              % (name, "; ".join(problems) or "ok", watch.served, watch.slowest, watch.peak_mb),
              flush=True)
    if not chosen or "large_pushes" in chosen:
        problems = large_pushes(binary)
        failed += bool(problems)
        print("large_pushes: %s" % ("; ".join(problems) or "ok"), flush=True)
    if not chosen or "durability" in chosen:
        problems = durability_rounds(binary)
        failed += bool(problems)
        print("durability: %s" % ("; ".join(problems) or "ok"), flush=True)
    print("%d failed" % failed)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
