#!/usr/bin/env python3
"""A real Squid for the proxy tests, on 127.0.0.1 only, with everything in one folder.

Two ports: "ouvert" lets every local client through, "auth" asks for Basic credentials
(basic_ncsa_auth, one user). Squid resolves names through its own hosts file first, so a name
that only the proxy knows (internet.test -> 127.0.0.1) fails when reached directly and works
through the proxy. Unknown names are asked of 127.0.0.1, where no resolver answers: the proxy
never sends a query out of the machine. Tunnels (CONNECT) to some host:port can be sent to
another local port (redirection.sh), so that a listener of the stand-in server plays a site on
port 443.

Standalone use: squid.py DIR [--hote NOM=IP]... prints the ports as JSON and runs until
SIGTERM or Ctrl-C.
"""

import argparse
import glob
import json
import os
import pwd
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time

ICI = os.path.dirname(os.path.abspath(__file__))
NOMS_DU_PROXY = {"internet.test": "127.0.0.1", "www.internet.test": "127.0.0.1"}


class ErreurMonde(Exception):
    pass


def port_libre():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def ecoute(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=0.5):
            return True
    except OSError:
        return False


def _trouver(noms, dossiers):
    for nom in noms:
        for d in dossiers:
            chemin = os.path.join(d, nom)
            if os.access(chemin, os.X_OK):
                return chemin
        trouve = shutil.which(nom)
        if trouve:
            return trouve
    return None


class Squid:
    def __init__(self, dossier, hotes=None, utilisateur="norvel", motdepasse="Secret-2718", tunnels=None):
        self.dossier = os.path.abspath(dossier)
        self.hotes = dict(NOMS_DU_PROXY, **(hotes or {}))
        # {"host:port": "127.0.0.1:port"}: where the tunnels asked for host:port really go.
        self.tunnels = dict(tunnels or {})
        self.utilisateur = utilisateur
        self.motdepasse = motdepasse
        self.ports = {}
        self._processus = None
        # Squid names its shared-memory segments after the service name: one per instance, so
        # that instances started side by side never meet.
        self._service = "norvel%d" % os.getpid()

    @property
    def journal_acces(self):
        return os.path.join(self.dossier, "access.log")

    @staticmethod
    def nettoyer_restes():
        """Removes the shared-memory segments of instances whose owner was killed outright."""
        for segment in glob.glob("/dev/shm/norvel*-*"):
            proprietaire = os.path.basename(segment)[len("norvel"):].split("-", 1)[0]
            if proprietaire.isdigit() and not os.path.exists("/proc/" + proprietaire):
                try:
                    os.unlink(segment)
                except OSError:
                    pass

    def demarrer(self, delai=20):
        self.nettoyer_restes()
        binaire = _trouver(["squid"], ["/usr/sbin", "/usr/local/sbin"])
        if not binaire:
            raise ErreurMonde("Squid est introuvable (paquet Debian « squid », voir scripts/setup)")
        auth = _trouver(["basic_ncsa_auth"], ["/usr/lib/squid", "/usr/lib64/squid", "/usr/libexec/squid"])
        if not auth:
            raise ErreurMonde("basic_ncsa_auth est introuvable (paquet Debian « squid »)")
        os.makedirs(self.dossier, exist_ok=True)
        self.ports = {"ouvert": port_libre(), "auth": port_libre()}
        self._ecrire_configuration(auth)
        self._processus = subprocess.Popen(
            [binaire, "-N", "-f", self._fichier("squid.conf"), "-n", self._service],
            stdin=subprocess.DEVNULL, stdout=open(self._fichier("squid.out"), "wb"), stderr=subprocess.STDOUT)
        fin = time.monotonic() + delai
        while not all(ecoute(p) for p in self.ports.values()):
            if self._processus.poll() is not None or time.monotonic() > fin:
                self.arreter()
                raise ErreurMonde("Squid n'a pas démarré : " + self._fin_journal())
            time.sleep(0.1)
        return self

    def arreter(self):
        if self._processus:
            if self._processus.poll() is None:
                self._processus.terminate()
                try:
                    self._processus.wait(10)
                except subprocess.TimeoutExpired:
                    self._processus.kill()
                    self._processus.wait()
            self._processus = None
        for segment in glob.glob("/dev/shm/%s-*" % self._service):
            os.unlink(segment)

    def _fichier(self, nom):
        return os.path.join(self.dossier, nom)

    def _fin_journal(self):
        try:
            with open(self._fichier("cache.log"), errors="replace") as f:
                return "".join(f.readlines()[-8:])
        except OSError:
            return "pas de journal"

    def _ecrire_configuration(self, auth):
        empreinte = subprocess.run(["openssl", "passwd", "-apr1", self.motdepasse], check=True,
                                   capture_output=True, text=True).stdout.strip()
        with open(self._fichier("passwd"), "w") as f:
            f.write("%s:%s\n" % (self.utilisateur, empreinte))
        with open(self._fichier("hosts"), "w") as f:
            for nom, ip in self.hotes.items():
                f.write("%s %s\n" % (ip, nom))
        d = self.dossier
        lignes = [
            "http_port 127.0.0.1:%d name=ouvert" % self.ports["ouvert"],
            "http_port 127.0.0.1:%d name=auth" % self.ports["auth"],
            "pid_filename %s/squid.pid" % d,
            "access_log stdio:%s/access.log" % d,
            "cache_log %s/cache.log" % d,
            "cache_store_log none",
            "coredump_dir %s" % d,
            "hosts_file %s/hosts" % d,
            "dns_nameservers 127.0.0.1",
            "dns_timeout 5 seconds",
            "cache_mem 8 MB",
            "cache deny all",
            "visible_hostname norvel-squid",
            "pinger_enable off",
            "shutdown_lifetime 0 seconds",
            "icp_port 0",
            "htcp_port 0",
            "netdb_filename none",
            "auth_param basic program %s %s/passwd" % (auth, d),
            "auth_param basic realm NORVEL tests",
            "auth_param basic children 2 startup=1",
            "acl port_auth myportname auth",
            "acl authentifies proxy_auth REQUIRED",
            "http_access deny port_auth !authentifies",
        ]
        if self.tunnels:
            lignes += [
                "url_rewrite_program %s %s" % (os.path.join(ICI, "redirection.sh"),
                                               " ".join("%s=%s" % (h.lower(), c) for h, c in self.tunnels.items())),
                "url_rewrite_children 2 startup=1",
            ]
        lignes += [
            "http_access allow localhost",
            "http_access deny all",
        ]
        # Squid refuses to keep root rights: started as root it becomes cache_effective_user,
        # who must be able to write its logs and read its files.
        if os.geteuid() == 0:
            utilisateur = "proxy" if _existe("proxy") else "nobody"
            lignes.append("cache_effective_user " + utilisateur)
            compte = pwd.getpwnam(utilisateur)
            for racine, dossiers, fichiers in os.walk(d):
                for nom in [racine] + [os.path.join(racine, x) for x in dossiers + fichiers]:
                    os.chown(nom, compte.pw_uid, compte.pw_gid)
        with open(self._fichier("squid.conf"), "w") as f:
            f.write("\n".join(lignes) + "\n")


def _existe(utilisateur):
    try:
        pwd.getpwnam(utilisateur)
        return True
    except KeyError:
        return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("dossier")
    parser.add_argument("--hote", action="append", default=[], help="NOM=IP known to the proxy only")
    args = parser.parse_args()
    squid = Squid(args.dossier, dict(h.split("=", 1) for h in args.hote)).demarrer()
    print(json.dumps(squid.ports), flush=True)
    arret = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: arret.set())
    signal.signal(signal.SIGINT, lambda *_: arret.set())
    arret.wait()
    squid.arreter()


if __name__ == "__main__":
    sys.exit(main())
