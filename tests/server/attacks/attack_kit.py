"""The sync server under attack: a running server process, a well-behaved client that keeps
checking it is served, and the server's resident memory."""

import json
import os
import re
import resource
import signal
import socket
import ssl
import subprocess
import tempfile
import threading
import time

TOKEN = "owner-token-5b2e-Gt4Rm7Xs1Kv9"
LONG = os.environ.get("FURROW_ATTACKS_LONG") == "1"


def now_ms():
    return int(time.time() * 1000)


def record(ident, updated_at=None, box="AAAA"):
    return {"kind": "task", "id": ident, "updatedAt": updated_at or now_ms(),
            "deleted": False, "body": {"e": box}}


def sync_body(device, since=0, changes=()):
    return json.dumps({"device": device, "since": since, "changes": list(changes)}).encode()


def request_bytes(body, token=TOKEN):
    head = "POST /v1/sync HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
    if token:
        head += "Authorization: Bearer %s\r\n" % token
    head += "Content-Length: %d\r\n\r\n" % len(body)
    return head.encode() + body


def connect(port, source="127.0.0.1", tls=False, timeout=10.0):
    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    sock.settimeout(timeout)
    sock.bind((source, 0))
    sock.connect(("127.0.0.1", port))
    if tls:
        context = ssl.create_default_context()
        context.check_hostname = False
        context.verify_mode = ssl.CERT_NONE
        sock = context.wrap_socket(sock)
    return sock


def read_answer(sock):
    """Reads until the server closes; answers (status, body), status 0 when nothing came."""
    data = b""
    try:
        while True:
            chunk = sock.recv(65536)
            if not chunk:
                break
            data += chunk
    except (socket.timeout, ConnectionResetError, ssl.SSLError):
        pass
    head, _, body = data.partition(b"\r\n\r\n")
    match = re.match(rb"HTTP/1\.1 (\d{3})", head)
    return (int(match.group(1)) if match else 0), body


def exchange(port, body, token=TOKEN, source="127.0.0.1", tls=False, timeout=10.0):
    sock = connect(port, source, tls, timeout)
    try:
        sock.sendall(request_bytes(body, token))
        return read_answer(sock)
    finally:
        sock.close()


class Server:
    """furrow-sync-server on a free loopback port, with its database in a temporary folder;
    `open_files` lowers its limit on open files as `ulimit -n` does."""

    def __init__(self, binary, tls=False, open_files=None):
        self.binary = binary
        self.open_files = open_files
        self.folder = tempfile.TemporaryDirectory(prefix="furrow-attacks-")
        self.tls = tls
        self.tokens = os.path.join(self.folder.name, "tokens")
        with open(self.tokens, "w") as out:
            out.write(TOKEN + "\n")
        self.arguments = ["--listen", "127.0.0.1:0", "--tokens", self.tokens,
                          "--db", os.path.join(self.folder.name, "sync.db")]
        if tls:
            self.arguments += self._certificate()
        self.process = None
        self.start()

    def _certificate(self):
        cert = os.path.join(self.folder.name, "cert.pem")
        key = os.path.join(self.folder.name, "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
                        "ec_paramgen_curve:P-256", "-nodes", "-days", "1", "-subj",
                        "/CN=127.0.0.1", "-keyout", key, "-out", cert],
                       check=True, capture_output=True)
        return ["--cert", cert, "--key", key]

    def start(self):
        limit = self.open_files
        self.process = subprocess.Popen(
            [self.binary] + self.arguments, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            preexec_fn=limit and (lambda: resource.setrlimit(resource.RLIMIT_NOFILE,
                                                             (limit, limit))))
        line = self.process.stdout.readline().decode()
        match = re.search(r"слушает https?://127\.0\.0\.1:(\d+)", line)
        assert match, "the server did not start: " + line
        self.port = int(match.group(1))
        # Its log is read and dropped, so that a full pipe never stops the server.
        threading.Thread(target=lambda out: [None for _ in out], args=(self.process.stdout,),
                         daemon=True).start()

    def kill(self):
        self.process.send_signal(signal.SIGKILL)
        self.process.wait()

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=20)
        self.folder.cleanup()

    def cpu_seconds(self):
        """Processor time the server has used so far, all its threads together."""
        with open("/proc/%d/stat" % self.process.pid) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def rss_mb(self):
        with open("/proc/%d/status" % self.process.pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024.0
        return 0.0


class Watch:
    """While an attack runs: the owner pushes one record and pulls every 100 ms, and the
    server's memory is sampled. Records the slowest answer, failures and the largest RSS."""

    def __init__(self, server):
        self.server = server
        self.slowest = 0.0
        self.failures = []
        self.peak_mb = 0.0
        self.served = 0
        self._since = 0
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)

    def __enter__(self):
        self._catch_up()
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join()

    def _catch_up(self):
        """Pulls what is already stored, unmeasured: the owner's own pages are not the attack."""
        more = True
        while more:
            status, answer = exchange(self.server.port, sync_body("owner", self._since),
                                      tls=self.server.tls)
            assert status == 200, "the owner could not catch up: %d" % status
            page = json.loads(answer)
            self._since, more = page["seq"], page["more"]

    def _run(self):
        while not self._stop.is_set():
            self.peak_mb = max(self.peak_mb, self.server.rss_mb())
            body = sync_body("owner", self._since, [record("probe-%d" % self.served)])
            start = time.monotonic()
            try:
                status, answer = exchange(self.server.port, body, tls=self.server.tls,
                                          timeout=5.0)
            except OSError as error:
                status, answer = 0, str(error).encode()
            elapsed = time.monotonic() - start
            self.slowest = max(self.slowest, elapsed)
            if status == 200:
                self.served += 1
                self._since = json.loads(answer)["seq"]
            else:
                self.failures.append((status, answer[:80]))
            self._stop.wait(0.1)

    def verdict(self):
        """Problems seen, empty when the owner was served throughout within the bounds."""
        problems = []
        if self.failures:
            problems.append("owner refused %d times: %s" % (len(self.failures), self.failures[:3]))
        if self.slowest >= 1.0:
            problems.append("owner waited %.2f s" % self.slowest)
        if self.peak_mb >= 100:
            problems.append("server RSS reached %.0f MB" % self.peak_mb)
        if self.served == 0:
            problems.append("owner never served")
        return problems


def run_for(seconds, workers):
    """Runs each worker(stop_event) in its own thread for `seconds`."""
    stop = threading.Event()
    threads = [threading.Thread(target=worker, args=(stop,), daemon=True) for worker in workers]
    for thread in threads:
        thread.start()
    stop.wait(seconds)
    stop.set()
    for thread in threads:
        thread.join(timeout=15)
