#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Serves the page's folder for scripts/web at http://127.0.0.1:PORT/.

The port is $ZELVANOS_WEB_PORT when it is set: when that port is in use,
one line says so and the exit code is 1. Otherwise it is 8080 or, when
that is in use, the next free one up to 8099, and the line says which.
    serve.py FOLDER
"""
import errno
import functools
import http.server
import os
import sys

DEFAULT_PORT = 8080
TRIES = 20


def main() -> int:
    folder = sys.argv[1]
    asked = os.environ.get("ZELVANOS_WEB_PORT", "")
    if asked and not (asked.isdigit() and 0 < int(asked) < 65536):
        print(f"scripts/web: ZELVANOS_WEB_PORT is not a port number: {asked}", file=sys.stderr)
        return 64
    ports = [int(asked)] if asked else list(range(DEFAULT_PORT, DEFAULT_PORT + TRIES))
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    server = None
    for port in ports:
        try:
            server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
            break
        except OSError as error:
            if error.errno != errno.EADDRINUSE:
                print(f"scripts/web: cannot serve at port {port}: {error.strerror}", file=sys.stderr)
                return 1
    if server is None:
        if asked:
            print(f"scripts/web: port {asked} is in use; choose another with ZELVANOS_WEB_PORT=PORT",
                  file=sys.stderr)
        else:
            print(f"scripts/web: ports {ports[0]} to {ports[-1]} are all in use; "
                  "choose a free one with ZELVANOS_WEB_PORT=PORT", file=sys.stderr)
        return 1
    port = server.server_address[1]
    busy = "" if port == ports[0] else f" (port {ports[0]} is in use)"
    print(f"Serving {folder} at http://127.0.0.1:{port}/{busy}; Ctrl+C stops", flush=True)
    with server:
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
