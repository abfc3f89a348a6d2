"""A real FTP server on loopback for the uploader's tests (Debian's python3-pyftpdlib).

Prints the port it listens on, then serves until killed. Every file received is noted, in
order, in the log file. With --tls PEM it demands explicit TLS (AUTH TLS) on both
connections, with a self-signed certificate it writes to PEM (python3-openssl). Faults on
demand: with --stop-after N the server dies at the start of upload N + 1, as a server going
away halfway would; with --die-in-file N it dies after the first bytes of upload N + 1
reached the disk, leaving a cut-off file; --truncate keeps only half of every file
received; --slow takes uploads at about 400 KB a second; --refuse-delete answers every
deletion with "550 Permission denied." and keeps the file; --max-connections N answers
a control connection beyond N at once with 421; --drop-once NAME closes the connections of
the first upload of that name after its first bytes, --drop-always NAME those of every one;
--no-mlsd lists with LIST only, as older servers do; --hold-last-reply NAME holds back the
"226" that ends the first upload of that name until another connection has sent a whole file
it began after the hold (noted "N released NAME"), or for 30 seconds ("N gave-up NAME").
With --commands LOG every command the server gets is noted there as "N COMMAND ARGUMENT",
N counting the control connections, and every file received whole as "N received NAME".
"""
import argparse
import logging
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--log", required=True)
parser.add_argument("--user", default="ann")
parser.add_argument("--password", default="secret")
parser.add_argument("--port", type=int, default=0)
parser.add_argument("--stop-after", type=int, default=0)
parser.add_argument("--tls", metavar="PEM")
parser.add_argument("--die-in-file", type=int, default=-1)
parser.add_argument("--truncate", action="store_true")
parser.add_argument("--slow", action="store_true")
parser.add_argument("--refuse-delete", action="store_true")
parser.add_argument("--commands")
parser.add_argument("--max-connections", type=int, default=0)
parser.add_argument("--drop-once")
parser.add_argument("--drop-always")
parser.add_argument("--no-mlsd", action="store_true")
parser.add_argument("--hold-last-reply")
args = parser.parse_args()

config_logging(level=logging.ERROR)
authorizer = DummyAuthorizer()
authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")


def self_signed_certificate(path):
    from OpenSSL import crypto

    key = crypto.PKey()
    key.generate_key(crypto.TYPE_RSA, 2048)
    cert = crypto.X509()
    cert.get_subject().CN = "127.0.0.1"
    cert.set_serial_number(1)
    cert.gmtime_adj_notBefore(-60)
    cert.gmtime_adj_notAfter(3600)
    cert.set_issuer(cert.get_subject())
    cert.set_pubkey(key)
    cert.sign(key, "sha256")
    with open(path, "wb") as pem:
        pem.write(crypto.dump_privatekey(crypto.FILETYPE_PEM, key))
        pem.write(crypto.dump_certificate(crypto.FILETYPE_PEM, cert))
    return path


Base = FTPHandler
if args.tls:
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    Base = TLS_FTPHandler
    Base.certfile = self_signed_certificate(args.tls)
    Base.tls_control_required = True
    Base.tls_data_required = True
    # Clients resume the control connection's TLS session on data connections, which
    # OpenSSL refuses unless the server names a session context.
    Base.get_ssl_context().set_session_id(b"quillpush-test")

    class DataHandler(TLS_DTPHandler):
        # libcurl starts TLS on a data connection as soon as it is open, before it sends
        # STOR; pyftpdlib would drop a connection that speaks before its command came.
        def readable(self):
            if not self._initialized:
                return self._ssl_accepting or self._ssl_want_read
            return super().readable()

    Base.dtp_handler = DataHandler


class DataChannel(Base.dtp_handler):
    ac_in_buffer_size = 8192 if args.slow else Base.dtp_handler.ac_in_buffer_size

    def handle_read(self):
        super().handle_read()
        if args.slow:
            time.sleep(0.02)
        if Handler.dying and self.receive and self.tot_bytes_received > 0:
            self.file_obj.flush()
            os._exit(0)
        control = self.cmd_channel
        if getattr(control, "dropping", False) and self.receive and self.tot_bytes_received > 0:
            control.dropping = False
            self.file_obj.flush()
            control.close()

    if not args.tls:  # TLS reads come through its own event handler
        handle_read_event = handle_read


class Handler(Base):
    dtp_handler = DataChannel
    received = 0
    stored = 0
    dropped = set()
    dying = False
    connections = 0
    held = None  # the reply held back: [connection, reply, names stored since]

    def on_connect(self):
        Handler.connections += 1
        self.number = Handler.connections
        super().on_connect()

    def note(self, text):
        if args.commands:
            with open(args.commands, "a") as log:
                log.write("%d %s\n" % (self.number, text))

    def pre_process_command(self, line, cmd, arg):
        self.note(line if cmd != "PASS" else "PASS")
        return super().pre_process_command(line, cmd, arg)

    def ftp_STOR(self, file, mode="w"):
        if args.stop_after and Handler.received >= args.stop_after:
            os._exit(0)
        Handler.dying = Handler.stored == args.die_in_file
        name = os.path.basename(file)
        self.dropping = name == args.drop_always or (
            name == args.drop_once and name not in Handler.dropped)
        if self.dropping:
            Handler.dropped.add(name)
        Handler.stored += 1
        self.storing = name
        if Handler.held and Handler.held[0] is not self:
            Handler.held[2].add(name)
        return super().ftp_STOR(file, mode)

    def respond(self, resp, logfun=None):
        holding = args.hold_last_reply and getattr(self, "storing", None) == args.hold_last_reply
        if holding and resp.startswith("226") and not getattr(Handler, "hold_done", False):
            Handler.hold_done = True
            Handler.held = [self, resp, set()]
            self.ioloop.call_later(30, lambda: self.release("gave-up"))
            return
        return super().respond(resp) if logfun is None else super().respond(resp, logfun)

    def release(self, how):
        if Handler.held and Handler.held[0] is self:
            reply = Handler.held[1]
            Handler.held = None
            self.note(how + " " + args.hold_last_reply)
            self.respond(reply)

    def ftp_DELE(self, path):
        if args.refuse_delete:
            self.respond("550 Permission denied.")
            return None
        return super().ftp_DELE(path)

    def on_file_received(self, file):
        Handler.received += 1
        if args.truncate:
            os.truncate(file, os.path.getsize(file) // 2)
        with open(args.log, "a") as log:
            log.write(os.path.relpath(file, args.root) + "\n")
        self.note("received " + os.path.relpath(file, args.root))
        held = Handler.held
        if held and held[0] is not self and os.path.basename(file) in held[2]:
            held[0].release("released")


Handler.authorizer = authorizer
if args.no_mlsd:
    Handler.proto_cmds = {k: v for k, v in Base.proto_cmds.items() if k not in ("MLSD", "MLST")}
server = FTPServer(("127.0.0.1", args.port), Handler)
server.max_cons_per_ip = args.max_connections
print(server.address[1], flush=True)
server.serve_forever()
