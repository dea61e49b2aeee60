"""An HTTP server for the download tests that misbehaves on request.

It serves the files of one folder, with ranges, If-Range, a strong entity tag
made from the file's bytes and its date of change. The first part of the path
chooses how it behaves:

  /file/NAME           an honest answer
  /cut/N/NAME          the first N answers for NAME break off halfway through
  /break-at-half/NAME  every answer breaks off at the middle of the file, so
                       no retry gets past it
  /lying-total/NAME    ranges that do not start at 0 name a larger total
  /stall/NAME          the head, then nothing until the client gives up
  /status/CODE         an empty answer with that status

Every answer is logged as one line: path, Range header, status, body bytes sent.
"""

import email.utils
import hashlib
import http.server
import os
import re
import threading
import time


class FaultyHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "FaultyTestServer"

    def log_message(self, format, *args):  # the log file is our own
        pass

    def do_GET(self):
        parts = self.path.lstrip("/").split("/")
        kind = parts[0]
        # Folders between the kind and the file's name, as a program builds
        # its addresses, are not looked at: the name is the last part.
        if kind == "status" and len(parts) >= 2 and parts[1].isdigit():
            return self.answer_empty(int(parts[1]))
        if kind == "cut" and len(parts) >= 3 and parts[1].isdigit():
            return self.serve(parts[-1], cut=self.server.take_cut(self.path, int(parts[1])))
        if kind in ("file", "break-at-half", "lying-total", "stall") and len(parts) >= 2:
            return self.serve(parts[-1], mode=kind)
        self.answer_empty(404)

    def answer_empty(self, status, sent=0):
        self.send_response(status)
        self.send_header("Content-Length", "0")
        self.end_headers()
        self.server.log(self.path, self.headers.get("Range", ""), status, sent)

    def serve(self, name, mode="file", cut=False):
        path = os.path.join(self.server.root, name)
        if "/" in name or not os.path.isfile(path):
            return self.answer_empty(404)
        with open(path, "rb") as f:
            data = f.read()
        etag = '"%s"' % hashlib.sha1(data).hexdigest()[:16]
        modified = email.utils.formatdate(os.path.getmtime(path), usegmt=True)
        size = len(data)
        first, last, status = 0, size - 1, 200
        wanted = self.requested_range(size, etag, modified)
        if wanted is not None:
            first, last = wanted
            status = 206
        self.send_response(status)
        self.send_header("ETag", etag)
        self.send_header("Last-Modified", modified)
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("Content-Length", str(last - first + 1))
        if status == 206:
            total = size + 1000 if mode == "lying-total" and first > 0 else size
            self.send_header("Content-Range", "bytes %d-%d/%d" % (first, last, total))
        self.end_headers()
        end = last + 1
        if mode == "break-at-half":
            end = min(end, max(first, size // 2))
        elif cut:
            end = first + (last + 1 - first) // 2
        if mode == "stall":
            end = first
            time.sleep(30)
        sent = self.send_body(data[first:end])
        self.server.log(self.path, self.headers.get("Range", ""), status, sent)
        if end <= last:
            self.close_connection = True

    def requested_range(self, size, etag, modified):
        header = self.headers.get("Range")
        match = re.fullmatch(r"bytes=(\d+)-(\d*)", header or "")
        if not match or size == 0:
            return None
        condition = self.headers.get("If-Range")
        if condition is not None and condition not in (etag, modified):
            return None
        first = int(match.group(1))
        last = int(match.group(2)) if match.group(2) else size - 1
        if first >= size or first > last:
            return None
        return first, min(last, size - 1)

    def send_body(self, body):
        sent = 0
        try:
            for at in range(0, len(body), 65536):
                piece = body[at:at + 65536]
                self.wfile.write(piece)
                sent += len(piece)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
        return sent


class FaultyServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, root, log_path):
        super().__init__(("127.0.0.1", 0), FaultyHandler)
        self.root = root
        self.log_path = log_path
        self.lock = threading.Lock()
        self.cuts = {}

    def handle_error(self, request, client_address):
        pass  # clients that hang up early are what this server is for

    def take_cut(self, path, count):
        with self.lock:
            done = self.cuts.get(path, 0)
            self.cuts[path] = done + 1
            return done < count

    def log(self, path, byte_range, status, sent):
        with self.lock, open(self.log_path, "a") as f:
            f.write("%s %s %d %d\n" % (path, byte_range or "-", status, sent))
