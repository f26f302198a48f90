#!/usr/bin/env python3
"""Serves the web build's site on 127.0.0.1 only (port 0 picks a free one and
prints it). The page is cross-origin isolated, so the browser's clock reads
in microseconds rather than the 100 µs steps it gives other pages. The game's
script and wasm, the page and the manifests go out gzip-compressed to a
browser that takes it, as static hosts send them; pictures and sounds as
they are (they barely compress)."""
import functools
import gzip
import http.server
import os
import sys

COMPRESSED = (".js", ".wasm", ".html", ".json")


class Handler(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        super().end_headers()

    def log_message(self, *args):
        pass

    def do_GET(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, "index.html")
        takes_gzip = "gzip" in self.headers.get("Accept-Encoding", "")
        if not (takes_gzip and path.endswith(COMPRESSED) and os.path.isfile(path)):
            return super().do_GET()
        body = compressed(path, os.stat(path).st_mtime_ns)
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


@functools.lru_cache(maxsize=64)
def compressed(path, mtime_ns):
    with open(path, "rb") as f:
        return gzip.compress(f.read(), compresslevel=9, mtime=0)


def main() -> int:
    folder, port = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 0
    handler = functools.partial(Handler, directory=folder)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"serving on 127.0.0.1 port {server.server_address[1]}", flush=True)
        server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main())
