"""A throwaway FTP server on 127.0.0.1 for the upload tests.

It serves one user whose home is a given directory, appends every command it receives to a
log file (one line each, as received), and passes file bytes through unchanged in both
transfer types, so a test can compare what arrived with what was written. Options stage the
faults the upload run must survive. When it listens it prints "LISTENING <port>" on stdout.
"""

import argparse
import os
import socket
import sys

from pyftpdlib import handlers
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.servers import FTPServer


class PassThroughProducer(handlers.FileProducer):
    """Sends a file as stored, whatever TYPE was asked for."""

    def __init__(self, file, type):
        super().__init__(file, 'i')


handlers.FileProducer = PassThroughProducer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--home', required=True)
    parser.add_argument('--user', required=True)
    parser.add_argument('--password', required=True)
    parser.add_argument('--log', required=True)
    parser.add_argument('--throttle', type=int, default=0,
                        help='bytes per second a data connection may carry')
    parser.add_argument('--silent-on', default='',
                        help='stop answering at the first command that starts with this text')
    parser.add_argument('--drop-on', default='',
                        help='close the connection mid-upload of a file whose name ends so')
    parser.add_argument('--cut-retr', type=int, default=-1,
                        help='send only this many bytes of a download, then fail it')
    parser.add_argument('--refuse-dele', action='store_true',
                        help='answer every DELE with 550 and keep the file')
    args = parser.parse_args()

    log = open(args.log, 'a', buffering=1, encoding='utf-8')

    dtp_base = handlers.ThrottledDTPHandler if args.throttle else handlers.DTPHandler

    class DTP(dtp_base):
        read_limit = args.throttle
        write_limit = args.throttle
        sent_limit = args.cut_retr

        def __init__(self, sock, cmd_channel):
            if args.throttle:
                # A small window, so that the client cannot park a whole file in buffers.
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 65536)
            super().__init__(sock, cmd_channel)

        def enable_receiving(self, type, cmd):
            super().enable_receiving('i', cmd)

        if args.drop_on:
            def handle_read(self):
                super().handle_read()
                name = getattr(self.file_obj, 'name', '') or ''
                if name.endswith(args.drop_on) and not self._closed:
                    # Gone in the middle of the transfer: both connections close at once.
                    control = self.cmd_channel
                    self.close()
                    control.close()

            handle_read_event = handle_read

        def push_with_producer(self, producer):
            if self.sent_limit >= 0:
                data = producer.more()[:self.sent_limit]
                self.push(data)
                self.close_when_done()
                control = self.cmd_channel
                # The data connection ends early and the server reports the loss.
                control._cut_retr = True
                return
            super().push_with_producer(producer)

    class Handler(handlers.FTPHandler):
        dtp_handler = DTP
        passive_ports = None
        permit_foreign_addresses = False
        silent = False
        _cut_retr = False
        timeout = 120
        auth_failed_timeout = 0.1

        def pre_process_command(self, line, cmd, arg):
            log.write(line + '\n')
            if self.silent:
                return
            if args.silent_on and line.startswith(args.silent_on):
                self.silent = True
                return
            if args.refuse_dele and cmd == 'DELE':
                self.respond('550 Permission denied.')
                return
            super().pre_process_command(line, cmd, arg)

        def respond(self, resp, logfun=handlers.logger.debug):
            if self.silent:
                return
            if self._cut_retr and resp.startswith('226'):
                self._cut_retr = False
                resp = '426 Connection closed; transfer aborted.'
            super().respond(resp, logfun)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.home, perm='elradfmwMT')
    Handler.authorizer = authorizer

    server = FTPServer(('127.0.0.1', 0), Handler)
    port = server.socket.getsockname()[1]
    sys.stdout.write('LISTENING %d\n' % port)
    sys.stdout.flush()
    server.serve_forever(handle_exit=True)


if __name__ == '__main__':
    main()
