#!/bin/sh
# Squid URL rewriter of the test world: sends the tunnels (CONNECT) asked for some host:port to
# another address, so that a site whose real port is 443 can be played by a listener of the
# stand-in server. Run by Squid (url_rewrite_program) as Squid's own user, hence plain sh.
#
#   redirection.sh HOTE:PORT=ADRESSE:PORT...
while read -r url reste; do
  demande=$(printf '%s' "$url" | tr 'A-Z' 'a-z')
  cible=
  for tunnel in "$@"; do
    [ "$demande" = "${tunnel%%=*}" ] && cible=${tunnel#*=}
  done
  if [ -n "$cible" ]; then echo "OK rewrite-url=$cible"; else echo "ERR"; fi
done
