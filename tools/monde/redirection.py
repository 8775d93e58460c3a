#!/usr/bin/env python3
"""Squid URL rewriter of the test world: sends the tunnels (CONNECT) asked for some host:port to
another address on 127.0.0.1, so that a site whose real port is 443 can be played by a
listener of the stand-in server.

  redirection.py HOTE:PORT=ADRESSE:PORT...    (run by Squid: url_rewrite_program)
"""

import sys


def main():
    tunnels = {}
    for argument in sys.argv[1:]:
        source, _, cible = argument.partition("=")
        tunnels[source.lower()] = cible
    for ligne in sys.stdin:
        champs = ligne.split()
        cible = tunnels.get(champs[0].lower()) if champs else None
        sys.stdout.write("OK rewrite-url=%s\n" % cible if cible else "ERR\n")
        sys.stdout.flush()


if __name__ == "__main__":
    main()
