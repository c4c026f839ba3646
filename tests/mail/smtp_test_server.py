"""A local SMTP server for the mail tests and the benchmark (aiosmtpd).

Serve:  smtp_test_server.py serve DIR [options]
  Listens on 127.0.0.1 on an ephemeral port, prints "READY <port>" and serves
  until a line "quit" (or end of input) arrives on stdin. Every accepted
  message is stored in DIR as NNNNN.eml with its envelope in NNNNN.env
  (MAIL FROM, then one RCPT per line); every command line the server reads
  (outside DATA, AUTH answers excepted) is appended to DIR/commands.log, and
  the name a TLS client sent in SNI to DIR/sni.log.
  --tls CERT KEY        implicit TLS with that certificate chain and key
  --auth USER PASS      offer AUTH LOGIN and accept only that pair
  --refuse-user USER    refuse AUTH LOGIN right after that user name
  --no-login            offer no AUTH LOGIN (AUTH LOGIN is refused)
  --refuse-rcpt ADDR    answer RCPT TO for ADDR with 550 (repeatable)
  --long-ehlo N         add N lines to the EHLO reply
  --ehlo-final CODE     end the EHLO reply with CODE instead of 250
  --split               send every reply line in two segments
  --greeting CODE       greet with CODE instead of 220
  --silent              accept connections and never answer
  --mute                accept TCP connections and never read or answer
                        (no TLS handshake either, even with --tls); each
                        accepted connection adds a line to DIR/accepted.log
  --full-backlog        accept nothing, with the queue of pending
                        connections full: a new connection never completes
  --trickle SECONDS     send the greeting one byte every SECONDS
  --close-in-data       close the connection when the message has arrived,
                        before the reply to it
  --stall-in-data       read nothing more once DATA has been answered with
                        354, so that the client's send buffer fills
  --tls-trickle PHASE SECONDS
                        (with --tls) a bare TLS server instead of SMTP: PHASE
                        "handshake" sends its handshake one byte every
                        SECONDS; "greeting" completes the handshake and then
                        sends the greeting as one TLS record, one byte every
                        SECONDS. What the client sends inside TLS goes to
                        commands.log; how it ended each connection, with
                        "close_notify" or a bare "eof", to ends.log
  --count-only          keep no messages, count them in DIR/count

Parse:  smtp_test_server.py parse DIR
  Prints one block per stored message, in order, with the fields decoded by
  Python's email package (UTF-8): "rcpt", "to", "from_name", "from_addr",
  "subject", "date_ok", "structure", "charset", "cte", "body" (repr),
  "header_names", ended by "--".

Client: smtp_test_server.py smtplib PORT FILE
  Sends the messages of FILE (a count line, then per message its recipient
  line, its length line and its bytes) over one SMTP_SSL connection to
  localhost:PORT with Python's smtplib and prints the seconds it took, wall
  and CPU, from before its TLS context is made to the connection's end.
"""
import asyncio
import base64
import email
import email.header
import email.policy
import email.utils
import os
import ssl
import sys
import time
import warnings

import logging
if os.environ.get("SMTP_TEST_DEBUG"): logging.basicConfig(level=logging.DEBUG)
from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class Options:
    def __init__(self, argv):
        self.tls = None
        self.auth = None
        self.refuse_user = None
        self.no_login = False
        self.refuse_rcpt = set()
        self.long_ehlo = 0
        self.ehlo_final = None
        self.split = False
        self.greeting = None
        self.silent = False
        self.count_only = False
        self.mute = False
        self.trickle = None
        self.close_in_data = False
        self.full_backlog = False
        self.stall_in_data = False
        self.tls_trickle = None
        i = 0
        while i < len(argv):
            a = argv[i]
            if a == "--tls":
                self.tls = (argv[i + 1], argv[i + 2]); i += 3
            elif a == "--auth":
                self.auth = (argv[i + 1], argv[i + 2]); i += 3
            elif a == "--refuse-user":
                self.refuse_user = argv[i + 1]; i += 2
            elif a == "--no-login":
                self.no_login = True; i += 1
            elif a == "--refuse-rcpt":
                self.refuse_rcpt.add(argv[i + 1].lower()); i += 2
            elif a == "--long-ehlo":
                self.long_ehlo = int(argv[i + 1]); i += 2
            elif a == "--ehlo-final":
                self.ehlo_final = argv[i + 1]; i += 2
            elif a == "--split":
                self.split = True; i += 1
            elif a == "--greeting":
                self.greeting = argv[i + 1]; i += 2
            elif a == "--silent":
                self.silent = True; i += 1
            elif a == "--count-only":
                self.count_only = True; i += 1
            elif a == "--mute":
                self.mute = True; i += 1
            elif a == "--trickle":
                self.trickle = float(argv[i + 1]); i += 2
            elif a == "--close-in-data":
                self.close_in_data = True; i += 1
            elif a == "--full-backlog":
                self.full_backlog = True; i += 1
            elif a == "--stall-in-data":
                self.stall_in_data = True; i += 1
            elif a == "--tls-trickle":
                self.tls_trickle = (argv[i + 1], float(argv[i + 2])); i += 3
            else:
                raise SystemExit("unknown option " + a)


class Handler:
    def __init__(self, directory, opts):
        self.dir = directory
        self.opts = opts
        self.n = 0

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        extra = ["250-X-PADDING-%03d-%s" % (i, "x" * 40) for i in range(self.opts.long_ehlo)]
        last = responses[-1]
        if self.opts.ehlo_final is not None:
            last = self.opts.ehlo_final + " " + last[4:]
        return responses[:-1] + extra + [last]

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower() in self.opts.refuse_rcpt:
            return "550 5.1.1 No such user"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.opts.close_in_data:
            server.transport.close()
            return "250 OK"
        self.n += 1
        if self.opts.count_only:
            with open(os.path.join(self.dir, "count"), "w") as f:
                f.write(str(self.n))
            return "250 OK"
        base = os.path.join(self.dir, "%05d" % self.n)
        with open(base + ".env.tmp", "w") as f:
            f.write(envelope.mail_from + "\n")
            for r in envelope.rcpt_tos:
                f.write(r + "\n")
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        os.rename(base + ".env.tmp", base + ".env")
        return "250 OK"

    async def auth_LOGIN(self, server, args):
        if len(args) == 2:
            user = base64.b64decode(args[1])
        else:
            user = await server.challenge_auth(server.AuthLoginUsernameChallenge)
        if user is None or not isinstance(user, bytes):
            return AuthResult(success=False)
        if self.opts.refuse_user is not None and user == self.opts.refuse_user.encode():
            return AuthResult(success=False, handled=False)
        password = await server.challenge_auth(server.AuthLoginPasswordChallenge)
        if password is None or not isinstance(password, bytes):
            return AuthResult(success=False)
        ok = self.opts.auth is not None and (user, password) == (
            self.opts.auth[0].encode(), self.opts.auth[1].encode())
        return AuthResult(success=ok, handled=False, auth_data=LoginPassword(user, password))


async def trickle_tls(reader, writer, ctx, directory, phase, delay):
    # An end without close_notify must show as such, not as a clean close.
    ctx.options &= ~ssl.OP_IGNORE_UNEXPECTED_EOF
    incoming, outgoing = ssl.MemoryBIO(), ssl.MemoryBIO()
    tls = ctx.wrap_bio(incoming, outgoing, server_side=True)

    async def send(slow):
        data = outgoing.read()
        for chunk in [data[i:i + 1] for i in range(len(data))] if slow else [data]:
            writer.write(chunk)
            await writer.drain()
            if slow:
                await asyncio.sleep(delay)

    async def receive():
        try:
            data = await reader.read(65536)
        except ConnectionError:
            data = b""
        incoming.write(data)
        return bool(data)

    def log(name, data):
        with open(os.path.join(directory, name), "ab") as f:
            f.write(data)

    async def watch():
        end = b"eof\n"
        try:
            while await receive():
                try:
                    while data := tls.read():
                        log("commands.log", data)
                    end = b"close_notify\n"
                    return
                except ssl.SSLWantReadError:
                    pass
        except ssl.SSLError:
            pass
        finally:
            log("ends.log", end)

    watcher = None
    try:
        while True:
            try:
                tls.do_handshake()
                break
            except ssl.SSLWantReadError:
                await send(phase == "handshake")
                if not await receive():
                    return
        await send(False)
        watcher = asyncio.ensure_future(watch())
        tls.write(b"220 localhost ESMTP\r\n")
        await send(True)
    except (ConnectionError, ssl.SSLError):
        pass
    finally:
        if watcher:
            await watcher
        writer.close()


class TestSMTP(SMTP):
    def __init__(self, handler, directory, opts, **kw):
        super().__init__(handler, **kw)
        self.test_dir = directory
        self.opts = opts

    async def push(self, status):
        if self.opts.silent:
            return
        if self.opts.greeting is not None and str(status).startswith("220 "):
            status = self.opts.greeting + " not now"
        if self.opts.trickle is not None and str(status).startswith("220 "):
            for b in (status + "\r\n").encode("ascii"):
                if self._writer.is_closing():
                    return
                self._writer.write(bytes([b]))
                await self._writer.drain()
                await asyncio.sleep(self.opts.trickle)
            return
        if not self.opts.split:
            return await super().push(status)
        data = (status.encode("ascii") if isinstance(status, str) else status) + b"\r\n"
        half = len(data) // 2
        self._writer.write(data[:half])
        await self._writer.drain()
        await asyncio.sleep(0.002)
        self._writer.write(data[half:])
        await self._writer.drain()

    async def _handle_client(self):
        reader = self._reader
        orig = reader.readuntil
        state = {"data": False}
        path = os.path.join(self.test_dir, "commands.log")

        async def logged(separator=b"\n"):
            line = await orig(separator)
            if state["data"]:
                if line == b".\r\n":
                    state["data"] = False
            else:
                with open(path, "ab") as f:
                    f.write(line)
                if line.upper().startswith(b"DATA"):
                    state["data"] = True
                    if self.opts.stall_in_data:
                        self._reader.readuntil = stalled
            return line

        async def stalled(separator=b"\n"):
            await asyncio.Event().wait()

        reader.readuntil = logged
        await super()._handle_client()


def serve(directory, argv):
    warnings.simplefilter("ignore")
    opts = Options(argv)
    handler = Handler(directory, opts)
    ctx = None
    if opts.tls:
        ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        ctx.load_cert_chain(opts.tls[0], opts.tls[1])

        def sni(sslobj, name, context):
            with open(os.path.join(directory, "sni.log"), "a") as f:
                f.write("%s\n" % name)
        ctx.sni_callback = sni

    kw = dict(hostname="localhost", enable_SMTPUTF8=False, decode_data=False, ident="test")
    if opts.auth or opts.refuse_user or opts.no_login:
        kw["authenticator"] = lambda *a: AuthResult(success=False, handled=False)
        kw["auth_require_tls"] = False
        if opts.no_login:
            kw["auth_exclude_mechanism"] = ["LOGIN"]

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    if opts.full_backlog:
        import socket
        import select
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(0)
        port = listener.getsockname()[1]
        # One connection fills the queue; the kernel drops later SYNs.
        filler = socket.socket()
        filler.setblocking(False)
        filler.connect_ex(("127.0.0.1", port))
        select.select([], [filler], [], 10)
        print("READY %d" % port, flush=True)
        sys.stdin.readline()
        filler.close()
        listener.close()
        return
    if opts.mute:
        class Mute(asyncio.Protocol):
            def connection_made(self, transport):
                transport.pause_reading()
                with open(os.path.join(directory, "accepted.log"), "a") as f:
                    f.write("accepted\n")
        server = loop.run_until_complete(loop.create_server(Mute, host="127.0.0.1", port=0))
    elif opts.tls_trickle:
        server = loop.run_until_complete(asyncio.start_server(
            lambda r, w: trickle_tls(r, w, ctx, directory, *opts.tls_trickle), host="127.0.0.1", port=0))
    else:
        server = loop.run_until_complete(loop.create_server(
            lambda: TestSMTP(handler, directory, opts, **kw), host="127.0.0.1", port=0, ssl=ctx))
        if opts.stall_in_data:
            import socket
            # A small window that does not grow: the client's writes soon stop.
            server.sockets[0].setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 65536)
    port = server.sockets[0].getsockname()[1]
    print("READY %d" % port, flush=True)

    async def wait_quit():
        while True:
            line = await loop.run_in_executor(None, sys.stdin.readline)
            if not line or line.strip() == "quit":
                return

    loop.run_until_complete(wait_quit())
    # Connections still open (a stalled or trickling one) end with the server.
    tasks = asyncio.all_tasks(loop)
    for task in tasks:
        task.cancel()
    loop.run_until_complete(asyncio.gather(*tasks, return_exceptions=True))
    server.close()
    loop.run_until_complete(server.wait_closed())
    loop.close()


def decode_header(value):
    if value is None:
        return ""
    return str(email.header.make_header(email.header.decode_header(value)))


def parse(directory):
    sys.stdout.reconfigure(encoding="utf-8")
    names = sorted(n for n in os.listdir(directory) if n.endswith(".eml"))
    out = sys.stdout
    for n in names:
        with open(os.path.join(directory, n), "rb") as f:
            raw = f.read()
        with open(os.path.join(directory, n[:-4] + ".env")) as f:
            env = f.read().split("\n")
        msg = email.message_from_bytes(raw)
        name, addr = email.utils.parseaddr(decode_header(msg.get("From")))
        date_ok = 0
        try:
            date_ok = 1 if email.utils.parsedate_to_datetime(msg.get("Date")).utcoffset() is not None else 0
        except Exception:
            date_ok = 0
        parts = [p for p in msg.walk() if p.get_content_maintype() == "text"]
        body = ""
        charset = cte = ""
        if parts:
            p = parts[0]
            charset = p.get_content_charset() or ""
            cte = p.get("Content-Transfer-Encoding", "")
            body = p.get_payload(decode=True).decode(charset or "ascii")
        # The same bytes as a mail reader of today reads them: the default
        # policy, every defect it finds in the message, its parts and headers.
        strict = email.message_from_bytes(raw, policy=email.policy.default)
        defects = []
        for part in strict.walk():
            defects += [type(d).__name__ for d in part.defects]
            for k, v in part.items():
                defects += [type(d).__name__ for d in getattr(v, "defects", ())]
        strict_from = strict["From"]
        strict_name = strict_from.addresses[0].display_name if strict_from and strict_from.addresses else ""
        strict_body = ""
        for part in strict.walk():
            if part.get_content_type() == "text/plain":
                strict_body = part.get_content()
        head = raw.split(b"\r\n\r\n", 1)[0]
        fields = [
            ("mail_from", env[0]),
            ("rcpt", ",".join(r for r in env[1:] if r)),
            ("to", decode_header(msg.get("To"))),
            ("from_name", name),
            ("from_addr", addr),
            ("subject", decode_header(msg.get("Subject"))),
            ("date_ok", str(date_ok)),
            ("structure", ",".join(p.get_content_type() for p in msg.walk())),
            ("charset", charset),
            ("cte", cte),
            ("body", repr(body)),
            ("header_names", ",".join(msg.keys())),
            ("defects", ",".join(defects)),
            ("strict_from_name", strict_name),
            ("strict_subject", str(strict["Subject"] or "")),
            ("strict_body", repr(strict_body)),
            ("longest_header_line", str(max(len(l) for l in head.split(b"\r\n")))),
            ("encoded_charsets", ",".join(sorted(set(
                w.split(b"?")[1].decode("ascii").lower() for w in head.split() if w.startswith(b"=?"))))),
        ]
        for k, v in fields:
            out.write("%s: %s\n" % (k, v))
        out.write("--\n")


def smtplib_client(port, path):
    import smtplib
    msgs = []
    with open(path, "rb") as f:
        count = int(f.readline())
        for _ in range(count):
            to = f.readline().rstrip(b"\n").decode("ascii")
            n = int(f.readline())
            msgs.append((to, f.read(n)))
    start, cpu = time.perf_counter(), time.process_time()
    ctx = ssl.create_default_context()
    with smtplib.SMTP_SSL("localhost", port, context=ctx) as s:
        s.ehlo("example.com")
        for to, data in msgs:
            s.sendmail("sender@example.com", [to], data)
    print("%.6f %.6f" % (time.perf_counter() - start, time.process_time() - cpu), flush=True)


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "serve":
        serve(sys.argv[2], sys.argv[3:])
    elif len(sys.argv) == 3 and sys.argv[1] == "parse":
        parse(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "smtplib":
        smtplib_client(int(sys.argv[2]), sys.argv[3])
    else:
        raise SystemExit(__doc__)
