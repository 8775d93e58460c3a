#!/usr/bin/env bash
# Test certificates of the stand-in world, made with openssl.
#
#   pki.sh autorite DIR NOM          a self-signed certificate authority DIR/NOM.{key,crt,der}
#   pki.sh serveur DIR AC NOM HOTE.. a TLS server certificate DIR/NOM.{key,crt} issued by DIR/AC,
#                                    valid for the given host names and IP addresses
#   pki.sh client DIR AC NOM CN      a TLS client certificate DIR/NOM.{key,crt,pfx} issued by DIR/AC
#   pki.sh signature DIR AC NOM SUJET a code-signing certificate DIR/NOM.{key,crt,pfx} issued by
#                                    DIR/AC; SUJET is an openssl subject ("/O=.../CN=...")
#   pki.sh monde DIR                 everything the HTTPS tests need, made once per folder:
#                                    the trusted authority "ac", its server certificates "serveur"
#                                    and "serveur-editeur" (the publisher's site www.ovalis.fr),
#                                    and a server certificate "serveur-inconnu" issued by an
#                                    authority "ac-inconnue" that no store trusts, and a TLS
#                                    client certificate "client" (client.pfx) of "ac"
#
# Existing files are kept: the authority added to a Wine prefix's Root store stays valid for
# every later run in that prefix. The .pfx files have an empty password.
set -euo pipefail

jours=3650

autorite() {
  local dir=$1 nom=$2
  [ -f "$dir/$nom.crt" ] && return 0
  openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days "$jours" \
    -keyout "$dir/$nom.key" -out "$dir/$nom.crt.tmp" \
    -subj "/O=NORVEL tests/CN=$nom NORVEL tests $(date +%s%N)" \
    -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -addext "subjectKeyIdentifier=hash" 2>/dev/null
  openssl x509 -in "$dir/$nom.crt.tmp" -outform DER -out "$dir/$nom.der"
  mv "$dir/$nom.crt.tmp" "$dir/$nom.crt"
}

# cle_pleine DIR NOM: an RSA key whose private values all have their full length in bytes. Wine
# imports a client certificate's key with a shorter one (a leading zero byte, about one key in
# sixty) wrongly, and the TLS handshake with that certificate then fails.
cle_pleine() {
  local dir=$1 nom=$2
  while :; do
    openssl genrsa -out "$dir/$nom.key" 2048 2>/dev/null
    openssl rsa -in "$dir/$nom.key" -noout -text 2>/dev/null | awk '
      /^[a-zA-Z]/ { nom = $1 }
      /^    / { gsub(/[ :]/, ""); octets[nom] += length($0) / 2 }
      END {
        exit !(octets["privateExponent:"] >= 256 && octets["exponent1:"] >= 128 &&
               octets["exponent2:"] >= 128 && octets["coefficient:"] >= 128)
      }' && return 0
  done
}

# emettre DIR AC NOM SUJET EXTENSIONS: a leaf certificate issued by DIR/AC, with the key
# DIR/NOM.key when there is one already, otherwise a new one.
emettre() {
  local dir=$1 ac=$2 nom=$3 sujet=$4 extensions=$5
  [ -f "$dir/$nom.crt" ] && return 0
  local ext="$dir/$nom.ext"
  printf '%s\n' "basicConstraints=critical,CA:FALSE" "authorityKeyIdentifier=keyid" "$extensions" >"$ext"
  local cle=(-newkey rsa:2048 -nodes -keyout "$dir/$nom.key")
  [ -f "$dir/$nom.key" ] && cle=(-key "$dir/$nom.key")
  openssl req -new "${cle[@]}" -sha256 -out "$dir/$nom.csr" -subj "$sujet" 2>/dev/null
  openssl x509 -req -in "$dir/$nom.csr" -CA "$dir/$ac.crt" -CAkey "$dir/$ac.key" -CAcreateserial \
    -days 825 -sha256 -extfile "$ext" -out "$dir/$nom.crt.tmp" 2>/dev/null
  rm -f "$dir/$nom.csr" "$ext"
  mv "$dir/$nom.crt.tmp" "$dir/$nom.crt"
}

pfx() {
  local dir=$1 nom=$2
  openssl pkcs12 -export -inkey "$dir/$nom.key" -in "$dir/$nom.crt" -out "$dir/$nom.pfx" -passout pass: \
    -keypbe PBE-SHA1-3DES -certpbe PBE-SHA1-3DES -macalg sha1 2>/dev/null
}

serveur() {
  local dir=$1 ac=$2 nom=$3
  shift 3
  local noms=() h
  for h in "$@"; do
    if [[ $h =~ ^[0-9.]+$ ]]; then noms+=("IP:$h"); else noms+=("DNS:$h"); fi
  done
  local san
  san=$(IFS=,; echo "${noms[*]}")
  emettre "$dir" "$ac" "$nom" "/O=NORVEL tests/CN=$1" \
    "$(printf '%s\n' "keyUsage=critical,digitalSignature,keyEncipherment" "extendedKeyUsage=serverAuth" "subjectAltName=$san")"
}

client_tls() {
  local dir=$1 ac=$2 nom=$3 cn=$4
  [ -f "$dir/$nom.crt" ] && return 0
  cle_pleine "$dir" "$nom"
  emettre "$dir" "$ac" "$nom" "/O=NORVEL tests/CN=$cn" \
    "$(printf '%s\n' "keyUsage=critical,digitalSignature" "extendedKeyUsage=clientAuth")"
  pfx "$dir" "$nom"
}

verrouiller() {
  local dir=$1
  mkdir -p "$dir"
  exec 8>"$dir/.verrou"
  flock 8
}

commande=${1:?usage: pki.sh autorite|serveur|client|signature|monde DIR ...}
dir=${2:?folder missing}
shift 2
verrouiller "$dir"
case $commande in
  autorite) autorite "$dir" "${1:?name missing}" ;;
  serveur) serveur "$dir" "${1:?authority missing}" "${2:?name missing}" "${@:3}" ;;
  client) client_tls "$dir" "${1:?authority missing}" "${2:?name missing}" "${3:?CN missing}" ;;
  signature)
    emettre "$dir" "${1:?authority missing}" "${2:?name missing}" "${3:?subject missing}" \
      "$(printf '%s\n' "keyUsage=critical,digitalSignature" "extendedKeyUsage=codeSigning")"
    pfx "$dir" "$2" ;;
  monde)
    autorite "$dir" ac
    serveur "$dir" ac serveur localhost 127.0.0.1 internet.test www.internet.test
    serveur "$dir" ac serveur-editeur www.ovalis.fr
    autorite "$dir" ac-inconnue
    serveur "$dir" ac-inconnue serveur-inconnu localhost 127.0.0.1 internet.test
    client_tls "$dir" ac client "Poste NORVEL" ;;
  *) echo "pki.sh: unknown command $commande" >&2; exit 2 ;;
esac
