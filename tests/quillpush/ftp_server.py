"""A real FTP server on loopback for the uploader's tests (Debian's python3-pyftpdlib).

Prints the port it listens on, then serves until killed. Every file received is noted, in
order, in the log file; with --stop-after N the server dies at the start of upload N + 1,
as a server going away halfway would.
"""
import argparse
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--log", required=True)
parser.add_argument("--user", default="ann")
parser.add_argument("--password", default="secret")
parser.add_argument("--port", type=int, default=0)
parser.add_argument("--stop-after", type=int, default=0)
args = parser.parse_args()

config_logging(level=logging.ERROR)
authorizer = DummyAuthorizer()
authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")


class Handler(FTPHandler):
    received = 0

    def ftp_STOR(self, file, mode="w"):
        if args.stop_after and Handler.received >= args.stop_after:
            os._exit(0)
        return super().ftp_STOR(file, mode)

    def on_file_received(self, file):
        Handler.received += 1
        with open(args.log, "a") as log:
            log.write(os.path.relpath(file, args.root) + "\n")


Handler.authorizer = authorizer
server = FTPServer(("127.0.0.1", args.port), Handler)
print(server.address[1], flush=True)
server.serve_forever()
