#!/usr/bin/env python3
"""Serves the web build's site on 127.0.0.1 only (port 0 picks a free one and
prints it). The page is cross-origin isolated, so the browser's clock reads
in microseconds rather than the 100 µs steps it gives other pages."""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        super().end_headers()

    def log_message(self, *args):
        pass


def main() -> int:
    folder, port = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 0
    handler = functools.partial(Handler, directory=folder)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"serving on 127.0.0.1 port {server.server_address[1]}", flush=True)
        server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main())
