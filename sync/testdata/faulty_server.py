#!/usr/bin/python3
"""A CalDAV server that misbehaves on purpose, for the client's failure tests.

  faulty_server.py --port PORT MODE

MODE is how it answers every request:
  hang          accepts the connection and never answers
  500           HTTP 500
  garbage       HTTP 207 whose body is not XML
  huge          HTTP 207 announcing and sending 100 MB
  huge-stream   HTTP 207 sending 100 MB without a length (ends with the connection)
  redirect      HTTP 307 to the same port on another host name ("localhost")
  close         announces 5000 bytes, sends 100 and closes the connection
  unauthorized  HTTP 401 with a Basic challenge, whatever the credentials
  propfind-only a small calendar server that knows PROPFIND and nothing of sync-collection
                (REPORT gives 501); the calendar "Faulty" at /cal/ holds a.ics and "b c.ics"
  digest        propfind-only behind Digest authentication (user "digest", password "secret")
  moved         propfind-only under /moved/: every other path is moved there (301)
  tls           propfind-only over HTTPS with a self-signed certificate no one trusts
"""

import argparse
import hashlib
import http.server
import os
import re
import socketserver
import ssl
import subprocess
import sys
import tempfile
import time

DIGEST_USER = "digest"
DIGEST_PASSWORD = "secret"
REALM = "faulty"
NONCE = os.urandom(8).hex()

MULTISTATUS = ('<?xml version="1.0" encoding="utf-8"?>\n'
               '<d:multistatus xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">%s'
               '</d:multistatus>')


def response(href, props, missing=""):
    text = ("<d:response><d:href>%s</d:href><d:propstat><d:prop>%s</d:prop>"
            "<d:status>HTTP/1.1 200 OK</d:status></d:propstat>" % (href, props))
    if missing:
        text += ("<d:propstat><d:prop>%s</d:prop><d:status>HTTP/1.1 404 Not Found</d:status>"
                 "</d:propstat>" % missing)
    return text + "</d:response>"


def md5(text):
    return hashlib.md5(text.encode("utf-8")).hexdigest()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    mode = ""

    def log_message(self, *args):
        pass

    def send(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def digest_ok(self):
        header = self.headers.get("Authorization", "")
        if not header.startswith("Digest "):
            return False
        fields = {name: quoted or plain for name, quoted, plain in
                  re.findall(r'(\w+)=(?:"([^"]*)"|([^,\s]*))', header[len("Digest "):])}
        if fields.get("username") != DIGEST_USER or fields.get("nonce") != NONCE:
            return False
        ha1 = md5("%s:%s:%s" % (DIGEST_USER, REALM, DIGEST_PASSWORD))
        ha2 = md5("%s:%s" % (self.command, fields.get("uri", "")))
        if fields.get("qop"):
            expected = md5("%s:%s:%s:%s:%s:%s" % (ha1, NONCE, fields.get("nc", ""),
                                                  fields.get("cnonce", ""), fields["qop"], ha2))
        else:
            expected = md5("%s:%s:%s" % (ha1, NONCE, ha2))
        return fields.get("response") == expected

    def calendar_server(self, path=None):
        path = path or self.path.split("?")[0]
        depth = self.headers.get("Depth", "0")
        if self.command == "REPORT":
            return self.send(501, b"not implemented")
        if self.command != "PROPFIND":
            return self.send(405, b"")
        if path == "/":
            body = response("/", "<d:current-user-principal><d:href>/p/</d:href>"
                            "</d:current-user-principal>")
        elif path == "/p/":
            body = response("/p/", "<c:calendar-home-set><d:href>/home/</d:href>"
                            "</c:calendar-home-set>")
        elif path == "/home/":
            body = response("/home/", "<d:resourcetype><d:collection/></d:resourcetype>")
            if depth == "1":
                body += response("/cal/", "<d:resourcetype><d:collection/><c:calendar/>"
                                 "</d:resourcetype><d:displayname>Faulty</d:displayname>")
        elif path == "/cal/":
            body = response("/cal/", "<d:resourcetype><d:collection/><c:calendar/>"
                            "</d:resourcetype><d:getetag/>", "<d:supported-report-set/>")
            if depth == "1":
                body += response("/cal/a.ics", '<d:getetag>"a1"</d:getetag>'
                                 "<d:resourcetype/>")
                body += response("http://127.0.0.1/cal/b%20c.ics",
                                 '<d:getetag>"b1"</d:getetag><d:resourcetype/>')
        else:
            return self.send(404, b"")
        self.send(207, (MULTISTATUS % body).encode("utf-8"),
                  [("Content-Type", "application/xml; charset=utf-8")])

    def answer(self):
        length = int(self.headers.get("Content-Length", "0") or "0")
        if length:
            self.rfile.read(length)
        mode = Handler.mode
        if mode == "hang":
            time.sleep(3600)
        elif mode == "500":
            self.send(500, b"internal error")
        elif mode == "garbage":
            self.send(207, b"<?xml version='1.0'?><d:multistatus xmlns:d='DAV:'><d:response>"
                      b"<d:href>/x</d:href></d:resp\x00onse>&&&")
        elif mode in ("huge", "huge-stream"):
            self.send_response(207)
            if mode == "huge":
                self.send_header("Content-Length", str(100 * 1024 * 1024))
            else:
                self.send_header("Connection", "close")
                self.close_connection = True
            self.end_headers()
            chunk = b"<!-- " + b"x" * 65536 + b" -->"
            try:
                for _ in range(100 * 1024 * 1024 // len(chunk)):
                    self.wfile.write(chunk)
            except OSError:
                pass
        elif mode == "redirect":
            self.send(307, b"", [("Location", "http://localhost:%d%s" %
                                  (self.server.server_address[1], self.path))])
        elif mode == "close":
            self.send_response(207)
            self.send_header("Content-Length", "5000")
            self.end_headers()
            self.wfile.write(b"<?xml version='1.0'?>" + b" " * 79)
            self.wfile.flush()
            self.close_connection = True
        elif mode == "unauthorized":
            self.send(401, b"", [("WWW-Authenticate", 'Basic realm="%s"' % REALM)])
        elif mode == "digest":
            if not self.digest_ok():
                return self.send(401, b"", [("WWW-Authenticate",
                                             'Digest realm="%s", nonce="%s", qop="auth", '
                                             'algorithm=MD5' % (REALM, NONCE))])
            self.calendar_server()
        elif mode in ("propfind-only", "tls"):
            self.calendar_server()
        elif mode == "moved":
            if self.path.startswith("/moved/"):
                self.calendar_server(self.path[len("/moved"):].split("?")[0])
            else:
                self.send(301, b"", [("Location", "/moved" + self.path)])
        else:
            self.send(400, b"unknown mode")

    do_GET = do_PUT = do_DELETE = do_PROPFIND = do_REPORT = do_MKCALENDAR = answer


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("mode")
    args = parser.parse_args()
    Handler.mode = args.mode
    server = Server(("127.0.0.1", args.port), Handler)
    if args.mode == "tls":
        folder = tempfile.mkdtemp(prefix="faulty-tls.")
        key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                        "-subj", "/CN=127.0.0.1", "-keyout", key, "-out", cert],
                       check=True, capture_output=True)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
