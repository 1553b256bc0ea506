#!/usr/bin/python3
"""A real SMTP server for the tests: Debian's aiosmtpd on 127.0.0.1.

    smtpserver.py DIR [--tls [--ca]] [--user NAME --password WORD] [--no-plain]
                      [--refuse ADDRESS] [--ports LOW-HIGH] [--parent PID]

Writes the port it listens on (free, from LOW-HIGH when given) to DIR/port.
--tls offers STARTTLS with a self-signed certificate made by openssl, or
with --ca one for localhost and 127.0.0.1 issued by an authority of its own,
written to DIR/ca.pem and DIR/ca.der for the client to trust;
--refuse answers RCPT TO that address with 550;
--user and --password offer AUTH PLAIN and LOGIN (--no-plain: LOGIN only).
Message N lands in DIR/message-N.eml (as received) and then, announcing it,
DIR/message-N.json (envelope, TLS, AUTH mechanism). Ends on SIGTERM or when
the process PID is gone.
"""
import argparse
import asyncio
import email
import email.policy
import json
import logging
import os
import random
import signal
import ssl
import subprocess
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def parse():
    parser = argparse.ArgumentParser()
    parser.add_argument("dir")
    for flag in ("--tls", "--ca", "--no-plain", "--no-8bitmime"):
        parser.add_argument(flag, action="store_true")
    for option in ("--user", "--password", "--ports", "--refuse"):
        parser.add_argument(option)
    parser.add_argument("--parent", type=int)
    return parser.parse_args()


def openssl(*args):
    subprocess.run(["openssl"] + list(args), check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def tls_context(folder, with_authority):
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    if not with_authority:
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-days", "2",
                "-subj", "/CN=localhost")
    else:
        ca, ca_key = os.path.join(folder, "ca.pem"), os.path.join(folder, "ca-key.pem")
        request, extensions = os.path.join(folder, "cert.csr"), os.path.join(folder, "cert.ext")
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", ca_key, "-out", ca, "-days", "2",
                "-subj", "/CN=Velkin Test Authority", "-addext", "basicConstraints=critical,CA:TRUE",
                "-addext", "keyUsage=critical,keyCertSign,cRLSign")
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", request, "-subj", "/CN=localhost")
        with open(extensions, "w") as out:
            out.write("subjectAltName=DNS:localhost,IP:127.0.0.1\nextendedKeyUsage=serverAuth\n")
        openssl("x509", "-req", "-in", request, "-CA", ca, "-CAkey", ca_key, "-CAcreateserial", "-out", cert,
                "-days", "2", "-extfile", extensions)
        openssl("x509", "-in", ca, "-outform", "DER", "-out", os.path.join(folder, "ca.der"))
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


class Recorder:
    def __init__(self, folder, refused):
        self.folder = folder
        self.refused = refused
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address == self.refused:
            return "550 5.1.1 <%s>: Recipient address rejected" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, "message-%d" % self.count)
        with open(base + ".eml", "wb") as out:
            out.write(envelope.original_content)
        # The subject and body as a mail reader shows them, decoded.
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        record = {"mail_from": envelope.mail_from, "mail_options": envelope.mail_options,
                  "rcpt_tos": envelope.rcpt_tos,
                  "tls": session.ssl is not None, "auth": session.auth_data,
                  "subject": str(message["subject"]), "body": message.get_content()}
        with open(base + ".tmp", "w", encoding="utf-8") as out:
            json.dump(record, out, ensure_ascii=False)
        os.replace(base + ".tmp", base + ".json")
        return "250 OK"


def authenticator(user, password):
    def check(server, session, envelope, mechanism, data):
        ok = (isinstance(data, LoginPassword) and data.login == user.encode("latin-1")
              and data.password == password.encode("latin-1"))
        # Not "handled": the server itself then answers a failure with 535.
        return AuthResult(success=ok, handled=False, auth_data=mechanism if ok else None)
    return check


async def listen(args, factory):
    loop = asyncio.get_running_loop()
    if not args.ports:
        return await loop.create_server(factory, host="127.0.0.1", port=0)
    low, high = (int(p) for p in args.ports.split("-"))
    ports = list(range(low, high + 1))
    random.shuffle(ports)
    for port in ports:
        try:
            return await loop.create_server(factory, host="127.0.0.1", port=port)
        except OSError:
            continue
    raise SystemExit("no free port in %s" % args.ports)


async def watch_parent(pid, stop):
    while pid:
        try:
            os.kill(pid, 0)
        except OSError:
            stop.set()
            return
        await asyncio.sleep(0.5)


async def main():
    args = parse()
    # aiosmtpd warns about its own use of a deprecated attribute.
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    context = tls_context(args.dir, args.ca) if args.tls else None
    recorder = Recorder(args.dir, args.refuse)
    # Decoding the data as UTF-8 is what keeps aiosmtpd from offering 8BITMIME.
    options = {"decode_data": args.no_8bitmime}
    if args.user is not None:
        options["authenticator"] = authenticator(args.user, args.password or "")
        options["auth_require_tls"] = False
        if args.no_plain:
            options["auth_exclude_mechanism"] = ["PLAIN"]

    def factory():
        return SMTP(recorder, tls_context=context, hostname="smtp.test", **options)

    server = await listen(args, factory)
    port = server.sockets[0].getsockname()[1]
    with open(os.path.join(args.dir, "port.tmp"), "w") as out:
        out.write("%d\n" % port)
    os.replace(os.path.join(args.dir, "port.tmp"), os.path.join(args.dir, "port"))
    stop = asyncio.Event()
    asyncio.get_running_loop().add_signal_handler(signal.SIGTERM, stop.set)
    watcher = asyncio.ensure_future(watch_parent(args.parent, stop))
    await stop.wait()
    watcher.cancel()
    server.close()


if __name__ == "__main__":
    sys.exit(asyncio.run(main()))
