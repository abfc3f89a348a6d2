"""An FTP server on loopback that answers as a host far away would (Debian's python3-pyftpdlib).

Every reply on the control connection leaves RTT after the command (or the end of the
transfer) that prompts it, and every data connection is taken up only RTT after it was
opened, as its TCP handshake would take. Each control connection has a thread of its own
(pyftpdlib's ThreadedFTPServer), so one connection's waiting holds up no other. A client
that, like libcurl, sends STOR only once its data connection is open pays both waits; so a
passive upload costs four round trips: EPSV, the data connection, STOR's 150, the 226.

    slow_link_ftp_server.py --root FOLDER [--rtt MS] [--user U --password P] [--port N]

Prints the port it listens on, then serves until killed.
"""
import argparse
import logging
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, PassiveDTP
from pyftpdlib.log import config_logging
from pyftpdlib.servers import ThreadedFTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--rtt", type=float, default=50, help="round-trip time in milliseconds")
parser.add_argument("--user", default="ann")
parser.add_argument("--password", default="secret")
parser.add_argument("--port", type=int, default=0)
args = parser.parse_args()
rtt = args.rtt / 1000

config_logging(level=logging.ERROR)
authorizer = DummyAuthorizer()
authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")


class FarPassiveDTP(PassiveDTP):
    def handle_accepted(self, sock, addr):
        time.sleep(rtt)  # the data connection's handshake
        super().handle_accepted(sock, addr)


class FarHandler(FTPHandler):
    passive_dtp = FarPassiveDTP

    def handle(self):
        pass  # greeted from the connection's own thread, by FarServer

    def push(self, data):
        time.sleep(rtt)  # the way to the client and back
        super().push(data)


class FarServer(ThreadedFTPServer):
    def _loop(self, handler):
        # The accepting thread would wait out every greeting in turn.
        FTPHandler.handle(handler)
        super()._loop(handler)


FarHandler.authorizer = authorizer
server = FarServer(("127.0.0.1", args.port), FarHandler)
server.max_cons = 256
print(server.address[1], flush=True)
server.serve_forever()
