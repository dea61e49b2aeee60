#!/usr/bin/env python3
"""Starts the servers that the download tests fetch from, all on 127.0.0.1:
nginx (ranges; a rate-limited location; a location that ignores ranges), an
FTP server (pyftpdlib) and our own faulty HTTP server, all serving one folder.

  loopback_servers.py --ready-file FILE
      serves until standard input closes (the test program that started it
      ended), after writing FILE: key=value lines naming the ports, the folder
      served and the logs. FILE goes at the end, with its folder if that is
      then empty.
  loopback_servers.py --run -- COMMAND...
      runs COMMAND with DNF_LOOPBACK_SERVERS naming such a file, and stops
      the servers when it ends; for test programs that can't start them.

Also a module: the benchmark starts nginx alone through start_nginx.
"""

import argparse
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import faulty_http_server  # noqa: E402

NGINX_CONFIG = """
daemon off;
master_process off;
{user}
pid {work}/nginx.pid;
error_log {work}/nginx-error.log warn;
events {{ worker_connections 256; }}
http {{
  log_format sent '$request_uri "$http_range" $status $body_bytes_sent';
  access_log {work}/nginx-access.log sent;
  client_body_temp_path {work}/client_body;
  proxy_temp_path {work}/proxy;
  fastcgi_temp_path {work}/fastcgi;
  uwsgi_temp_path {work}/uwsgi;
  scgi_temp_path {work}/scgi;
  default_type application/octet-stream;
  sendfile on;
  server {{
    listen 127.0.0.1:{port};
    location /files/ {{ alias {root}/; }}
    location /slow/ {{ alias {root}/; limit_rate {rate}; }}
    location /noranges/ {{ alias {root}/; max_ranges 0; }}
  }}
}}
"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_until_answers(port, process, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if process.poll() is not None:
            return False
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.2):
                return True
        except OSError:
            time.sleep(0.02)
    return False


def start_nginx(root, work, rate="200k"):
    """Starts nginx serving `root`; returns (process, port)."""
    nginx = shutil.which("nginx") or "/usr/sbin/nginx"
    user = "user root;" if os.geteuid() == 0 else ""  # else workers would run as nobody
    for _ in range(5):  # another program may take the free port first
        port = free_port()
        config = os.path.join(work, "nginx.conf")
        with open(config, "w") as f:
            f.write(NGINX_CONFIG.format(user=user, work=work, root=root, port=port, rate=rate))
        process = subprocess.Popen([nginx, "-p", work, "-c", config, "-e", os.path.join(work, "nginx-error.log")],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if wait_until_answers(port, process):
            return process, port
        stop_process(process)
    raise RuntimeError("nginx did not start; see " + os.path.join(work, "nginx-error.log"))


def stop_process(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def start_ftp(root):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import ThreadedFTPServer
    from pyftpdlib.log import config_logging
    import logging
    config_logging(level=logging.WARNING)

    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root)
    handler = type("TestFtpHandler", (FTPHandler,), {"authorizer": authorizer, "permit_foreign_addresses": False})
    server = ThreadedFTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, kwargs={"handle_exit": False}, daemon=True).start()
    return server, server.address[1]


def start_faulty(root, log_path):
    server = faulty_http_server.FaultyServer(root, log_path)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, server.server_address[1]


class Servers:
    def __init__(self):
        self.work = tempfile.mkdtemp(prefix="dnf-servers-")
        self.root = os.path.join(self.work, "root")
        os.mkdir(self.root)
        self.nginx, self.http_port = start_nginx(self.root, self.work)
        self.ftp, self.ftp_port = start_ftp(self.root)
        self.faulty_log = os.path.join(self.work, "faulty.log")
        self.faulty, self.faulty_port = start_faulty(self.root, self.faulty_log)

    def write_ready_file(self, path):
        lines = {
            "http_port": self.http_port,
            "ftp_port": self.ftp_port,
            "faulty_port": self.faulty_port,
            "root": self.root,
            "nginx_log": os.path.join(self.work, "nginx-access.log"),
            "faulty_log": self.faulty_log,
        }
        with open(path + ".tmp", "w") as f:
            f.writelines("%s=%s\n" % item for item in lines.items())
        os.replace(path + ".tmp", path)

    def stop(self):
        stop_process(self.nginx)
        self.ftp.close_all()
        self.faulty.shutdown()
        shutil.rmtree(self.work, ignore_errors=True)


def main():
    argv = sys.argv[1:]
    command = None
    if "--run" in argv:  # everything after it is the command
        at = argv.index("--run")
        argv, command = argv[:at], argv[at + 1:]
        if command[:1] == ["--"]:
            command = command[1:]
    parser = argparse.ArgumentParser()
    parser.add_argument("--ready-file")
    args = parser.parse_args(argv)
    if (command is None) == (args.ready_file is None):
        parser.error("give --ready-file FILE or --run -- COMMAND")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    servers = Servers()
    try:
        if command is not None:
            ready = os.path.join(servers.work, "ready")
            servers.write_ready_file(ready)
            return subprocess.call(command, env=dict(os.environ, DNF_LOOPBACK_SERVERS=ready))
        servers.write_ready_file(args.ready_file)
        try:
            sys.stdin.read()  # ends when the test program that started us ends
        finally:
            os.remove(args.ready_file)
            try:
                os.rmdir(os.path.dirname(os.path.abspath(args.ready_file)))
            except OSError:
                pass
        return 0
    finally:
        servers.stop()


if __name__ == "__main__":
    sys.exit(main())
