#!/usr/bin/env python3
"""Starts the stand-in world for one test program and stops it at the end.

  monde.py [--pki DIR] [--squid] [--hote NOM=IP]... [--scripts FILE] [--telechargements DIR]
           (--controle PORT | --pret FICHIER) [--duree-max S]

Starts the stand-in web server (serveur.py) and, with --squid, a real Squid (squid.py), all on
127.0.0.1, in a temporary folder removed at the end. The server answers the school lookup
(ecoles.py) and serves the files of --telechargements DIR under /telechargement/
(telechargements.py). The test certificates come from
pki.sh monde in --pki DIR (made once, reused by later runs) or in the temporary folder.

When everything answers, one line "PRET cle=valeur<TAB>cle=valeur..." gives the ports and
paths: http, https, https_inconnu, https_certclient, https_tls10, https_editeur (the publisher's
site www.ovalis.fr, which Squid's tunnels to www.ovalis.fr:443 reach), ac (the test authority,
DER), certificat_client (a TLS client certificate of that authority, PKCS#12, no password),
squid_ouvert, squid_auth, squid_utilisateur, squid_motdepasse, squid_journal, dossier.
A failure gives one line "ERREUR message" instead.

--controle PORT: the line goes to a TCP connection made to 127.0.0.1:PORT (the test fixture
listens there); the world stops when that connection sends "arret" or closes, so a crashed
test never leaves servers behind. Before exiting the world answers "FIN".
--pret FICHIER: the line is written to FICHIER and the world runs until SIGTERM or Ctrl-C.
Either way the world stops by itself after --duree-max seconds (900).
"""

import argparse
import glob
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading

ICI = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, ICI)

from ecoles import ServiceEcoles  # noqa: E402
from serveur import ServeurMonde  # noqa: E402
from telechargements import ServiceTelechargements  # noqa: E402
from squid import ErreurMonde, Squid  # noqa: E402


PREFIXE_DOSSIER = "norvel-monde-"
# The publisher's site, which the assistant always tests ("https://www.ovalis.fr/trs.html").
SITE_EDITEUR = "www.ovalis.fr:443"


def nettoyer_restes():
    """Folders and segments left by worlds that were killed outright."""
    for dossier in glob.glob(os.path.join(tempfile.gettempdir(), PREFIXE_DOSSIER + "*-*")):
        proprietaire = os.path.basename(dossier)[len(PREFIXE_DOSSIER):].split("-", 1)[0]
        if proprietaire.isdigit() and not os.path.exists("/proc/" + proprietaire):
            shutil.rmtree(dossier, ignore_errors=True)
    Squid.nettoyer_restes()


def preparer_pki(dossier):
    resultat = subprocess.run([os.path.join(ICI, "pki.sh"), "monde", dossier], capture_output=True, text=True)
    if resultat.returncode != 0:
        raise ErreurMonde("pki.sh a échoué : " + resultat.stderr.strip())
    return dossier


def ligne_pret(valeurs):
    return "PRET " + "\t".join("%s=%s" % (k, v) for k, v in valeurs.items()) + "\n"


class Canal:
    """Where the world reports and waits: the fixture's TCP connection or a file and signals."""

    def __init__(self, args):
        self.arret = threading.Event()
        self.connexion = None
        self.fichier = args.pret
        if args.controle:
            self.connexion = socket.create_connection(("127.0.0.1", args.controle), timeout=30)
            self.connexion.settimeout(None)
        signal.signal(signal.SIGTERM, lambda *_: self.arret.set())
        signal.signal(signal.SIGINT, lambda *_: self.arret.set())

    def envoyer(self, texte):
        if self.connexion:
            self.connexion.sendall(texte.encode("utf-8"))
        elif self.fichier:
            temporaire = self.fichier + ".tmp"
            with open(temporaire, "w", encoding="utf-8") as f:
                f.write(texte)
            os.replace(temporaire, self.fichier)
        else:
            sys.stdout.write(texte)
            sys.stdout.flush()

    def attendre_arret(self, duree_max):
        if self.connexion:
            threading.Thread(target=self._lire_connexion, daemon=True).start()
        self.arret.wait(duree_max)

    def _lire_connexion(self):
        tampon = b""
        try:
            while b"arret" not in tampon:
                recu = self.connexion.recv(256)
                if not recu:
                    break
                tampon += recu
        except OSError:
            pass
        self.arret.set()

    def terminer(self):
        if self.connexion:
            try:
                self.connexion.sendall(b"FIN\n")
                self.connexion.close()
            except OSError:
                pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pki")
    parser.add_argument("--squid", action="store_true")
    parser.add_argument("--hote", action="append", default=[], help="NOM=IP known to the proxy only")
    parser.add_argument("--scripts")
    parser.add_argument("--telechargements", help="folder served under /telechargement/")
    parser.add_argument("--controle", type=int)
    parser.add_argument("--pret")
    parser.add_argument("--duree-max", type=float, default=900)
    args = parser.parse_args()

    if args.controle:
        # Out of the test's process group: a kill aimed at the test leaves the world time to
        # see its connection close and stop Squid properly.
        try:
            os.setsid()
        except OSError:
            pass
    canal = Canal(args)
    nettoyer_restes()
    dossier = tempfile.mkdtemp(prefix=PREFIXE_DOSSIER + "%d-" % os.getpid())
    # Squid's own user must be able to reach its folder inside this one.
    os.chmod(dossier, 0o755)
    serveur = squid = None
    try:
        try:
            pki = preparer_pki(os.path.abspath(args.pki) if args.pki else os.path.join(dossier, "pki"))
            serveur = ServeurMonde(pki)
            ServiceEcoles(serveur).brancher()
            ServiceTelechargements(serveur, args.telechargements).brancher()
            if args.scripts:
                serveur.charger_scripts(args.scripts)
            serveur.demarrer()
            valeurs = dict(serveur.ports)
            valeurs["ac"] = os.path.join(pki, "ac.der")
            valeurs["certificat_client"] = os.path.join(pki, "client.pfx")
            valeurs["dossier"] = dossier
            if args.squid:
                # Through the proxy, the publisher's site is the stand-in's listener "https_editeur".
                tunnels = {}
                if "https_editeur" in serveur.ports:
                    tunnels[SITE_EDITEUR] = "127.0.0.1:%d" % serveur.ports["https_editeur"]
                squid = Squid(os.path.join(dossier, "squid"), dict(h.split("=", 1) for h in args.hote),
                              tunnels=tunnels).demarrer()
                valeurs.update(squid_ouvert=squid.ports["ouvert"], squid_auth=squid.ports["auth"],
                               squid_utilisateur=squid.utilisateur, squid_motdepasse=squid.motdepasse,
                               squid_journal=squid.journal_acces)
        except Exception as e:  # reported to the fixture, which fails loudly with it
            canal.envoyer("ERREUR %s\n" % str(e).replace("\n", " | "))
            return 1
        canal.envoyer(ligne_pret(valeurs))
        canal.attendre_arret(args.duree_max)
        return 0
    finally:
        if squid:
            squid.arreter()
        if serveur:
            serveur.arreter()
        shutil.rmtree(dossier, ignore_errors=True)
        canal.terminer()


if __name__ == "__main__":
    sys.exit(main())
