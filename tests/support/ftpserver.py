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
import threading

from pyftpdlib import handlers
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.servers import FTPServer


class PassThroughProducer(handlers.FileProducer):
    """Sends a file as stored, whatever TYPE was asked for."""

    def __init__(self, file, type):
        super().__init__(file, 'i')


handlers.FileProducer = PassThroughProducer


def make_certificate(path):
    if os.path.exists(path):
        return
    from OpenSSL import crypto
    key = crypto.PKey()
    key.generate_key(crypto.TYPE_RSA, 2048)
    cert = crypto.X509()
    cert.get_subject().CN = 'pelmora-test'
    cert.set_serial_number(int.from_bytes(os.urandom(8), 'big'))
    cert.gmtime_adj_notBefore(-3600)
    cert.gmtime_adj_notAfter(24 * 3600)
    cert.set_issuer(cert.get_subject())
    cert.set_pubkey(key)
    cert.sign(key, 'sha256')
    with open(path, 'wb') as out:
        out.write(crypto.dump_certificate(crypto.FILETYPE_PEM, cert))
        out.write(crypto.dump_privatekey(crypto.FILETYPE_PEM, key))


def start_relay(target_port, capture_path):
    """Forwards connections to the server and keeps what clients sent, as it went."""
    capture = open(capture_path, 'ab', buffering=0)
    lock = threading.Lock()
    listener = socket.socket()
    listener.bind(('127.0.0.1', 0))
    listener.listen(8)

    def pump(source, sink, keep):
        try:
            while True:
                data = source.recv(65536)
                if not data:
                    break
                if keep:
                    with lock:
                        capture.write(data)
                sink.sendall(data)
        except OSError:
            pass
        for s in (source, sink):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def accept():
        while True:
            client, _ = listener.accept()
            server = socket.create_connection(('127.0.0.1', target_port))
            threading.Thread(target=pump, args=(client, server, True), daemon=True).start()
            threading.Thread(target=pump, args=(server, client, False), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    return listener.getsockname()[1]


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
    parser.add_argument('--tls-cert', default='',
                        help='speak explicit TLS with this certificate and key (one PEM file), '
                             'made here self-signed when the file does not exist yet')
    parser.add_argument('--relay-capture', default='',
                        help='also listen on a relay port that forwards to the server and '
                             'writes every byte the client sent on it to this file')
    args = parser.parse_args()

    log = open(args.log, 'a', buffering=1, encoding='utf-8')

    if args.tls_cert:
        make_certificate(args.tls_cert)
        dtp_base = handlers.TLS_DTPHandler
        control_base = handlers.TLS_FTPHandler
    else:
        dtp_base = handlers.ThrottledDTPHandler if args.throttle else handlers.DTPHandler
        control_base = handlers.FTPHandler

    class DTP(dtp_base):
        read_limit = args.throttle
        write_limit = args.throttle
        sent_limit = args.cut_retr

        def __init__(self, sock, cmd_channel):
            if args.throttle:
                # A small window, so that the client cannot park a whole file in buffers.
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 65536)
            super().__init__(sock, cmd_channel)

        def readable(self):
            # libcurl shakes hands on a data connection before it sends the transfer command;
            # pyftpdlib would take the early bytes for a hang-up.
            if getattr(self, '_ssl_accepting', False):
                return True
            return super().readable()

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

    class Handler(control_base):
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

    if args.tls_cert:
        Handler.certfile = args.tls_cert
        Handler.tls_control_required = True
        Handler.tls_data_required = True

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.home, perm='elradfmwMT')
    Handler.authorizer = authorizer

    server = FTPServer(('127.0.0.1', 0), Handler)
    port = server.socket.getsockname()[1]
    if args.relay_capture:
        sys.stdout.write('RELAY %d\n' % start_relay(port, args.relay_capture))
    sys.stdout.write('LISTENING %d\n' % port)
    sys.stdout.flush()
    server.serve_forever(handle_exit=True)


if __name__ == '__main__':
    main()
