#!/usr/bin/env bash
# Signed copies of the stand-in client setup, made at test time:
#
#   signer.sh SETUP SORTIE [IDENTITE]
#
# SETUP is the built setup_client.exe. In SORTIE:
#   SetupNorvelPrimaire-ovalis.exe          signed by a certificate whose subject ends with
#                                           " CN=OVALIS SAS" (C=FR, O=OVALIS, CN=OVALIS SAS)
#   SetupNorvelPrimaire-autre-editeur.exe   signed by another publisher (CN=EDITIONS TIERS)
#   SetupNorvelPrimaire-non-signe.exe       not signed
#   identite.txt                            the version the three install: "{GUID};Win64"
# IDENTITE, the version the copies install, written into them before signing (without it they
# keep the identity built in): "{GUID};Win64" or "{GUID};Win32", an identifier and its platform,
# or a version of the product catalogue (resources/Produits.xml) by its millesime and platform,
# "2022;Win32" for its ordinary identifier, "2022;Win32;simu" for its simulation one.
#
# The certificates are issued by the stand-in world's test authority (tools/monde/pki.sh, in
# <build>/monde-pki, or NORVEL_PKI), made once and shared with the HTTPS tests.
set -euo pipefail

setup=${1:?usage: signer.sh SETUP SORTIE [IDENTITE]}
sortie=${2:?output folder missing}
identite=${3:-}
ici=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
pki=${NORVEL_PKI:-$(cd "$(dirname "$setup")/.." && pwd)/monde-pki}

for outil in openssl osslsigncode python3; do
  command -v "$outil" >/dev/null || { echo "signer.sh: $outil missing (scripts/setup installs it)" >&2; exit 1; }
done
[ -f "$setup" ] || { echo "signer.sh: $setup missing (build first)" >&2; exit 1; }

pki_sh="$ici/../monde/pki.sh"
"$pki_sh" autorite "$pki" ac
"$pki_sh" signature "$pki" ac signature-ovalis "/C=FR/O=OVALIS/CN=OVALIS SAS"
"$pki_sh" signature "$pki" ac signature-autre-editeur "/C=FR/O=Editions Tiers/CN=EDITIONS TIERS"

mkdir -p "$sortie"
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT

# The identity zone: "NORVEL-IDENTITE:" then "{GUID};WinNN", UTF-16 LE, once in the program.
python3 - "$setup" "$travail/setup.exe" "$identite" "$travail/identite.txt" "$ici/../../resources/Produits.xml" <<'PY'
import re, sys
import xml.etree.ElementTree as ET
source, cible, identite, fichier_identite, catalogue = sys.argv[1:6]
version = re.fullmatch(r"(\d{4});(Win32|Win64)(;simu)?", identite)
if version:
    millesime, plateforme, simu = version.groups()
    trouvees = [v for v in ET.parse(catalogue).getroot().findall("./produit[@nom='NVLPRIM']/pays[@nom='FRANCE']/version")
                if v.get("millesime") == millesime and v.get("plateforme") == plateforme]
    if len(trouvees) != 1:
        sys.exit("signer.sh: version %s %s not found once in %s" % (millesime, plateforme, catalogue))
    identite = trouvees[0].get("simu" if simu else "guid") + ";" + plateforme
donnees = open(source, "rb").read()
marque = "NORVEL-IDENTITE:".encode("utf-16-le")
if donnees.count(marque) != 1:
    sys.exit("signer.sh: identity zone not found once in " + source)
debut = donnees.index(marque) + len(marque)
longueur = len("{00000000-0000-0000-0000-000000000000};Win64") * 2
if identite:
    if not re.fullmatch(r"\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\};Win(32|64)", identite):
        sys.exit("signer.sh: identity must read {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX};Win32 or ;Win64 (upper case)")
    donnees = donnees[:debut] + identite.encode("utf-16-le") + donnees[debut + longueur:]
open(cible, "wb").write(donnees)
open(fichier_identite, "w").write(donnees[debut:debut + longueur].decode("utf-16-le") + "\n")
PY

signer() {
  local certificat=$1 cible=$2
  cat "$pki/$certificat.crt" "$pki/ac.crt" >"$travail/chaine.pem"
  osslsigncode sign -certs "$travail/chaine.pem" -key "$pki/$certificat.key" -h sha256 \
    -n "Client NORVEL Primaire" -in "$travail/setup.exe" -out "$travail/$cible" >/dev/null
}
signer signature-ovalis SetupNorvelPrimaire-ovalis.exe
signer signature-autre-editeur SetupNorvelPrimaire-autre-editeur.exe
cp "$travail/setup.exe" "$travail/SetupNorvelPrimaire-non-signe.exe"

for f in SetupNorvelPrimaire-ovalis.exe SetupNorvelPrimaire-autre-editeur.exe SetupNorvelPrimaire-non-signe.exe identite.txt; do
  mv -f "$travail/$f" "$sortie/$f"
done
