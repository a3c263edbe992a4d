#!/usr/bin/python3
"""An RFC 3161 time-stamp authority on 127.0.0.1 for the signing tests: answers each query
posted to it with `openssl ts -reply`, signed by a throwaway TSA certificate.

Usage: timestamp_server.py FOLDER   (FOLDER holds tsa.cnf, tsa.pem, tsa.key and ca.pem; the port
it listens on is written to FOLDER/tsa.port once it takes queries)"""
import http.server
import os
import subprocess
import sys

folder = sys.argv[1]


class TimestampHandler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", "tsa.cnf", "-queryfile", "/dev/stdin",
             "-signer", "tsa.pem", "-inkey", "tsa.key", "-chain", "ca.pem", "-out", "/dev/stdout"],
            input=query, capture_output=True, cwd=folder)
        self.send_response(200 if reply.returncode == 0 and reply.stdout else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)

    def log_message(self, format, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), TimestampHandler)
with open(os.path.join(folder, "tsa.port.new"), "w") as port:
    port.write(str(server.server_address[1]))
os.rename(os.path.join(folder, "tsa.port.new"), os.path.join(folder, "tsa.port"))
server.serve_forever()
