#!/usr/bin/env python3
"""Stand-in web server of the test world: HTTP and HTTPS, on 127.0.0.1 only.

Every path answers 200 with a short text unless told otherwise. The answer of a path is
scripted either by the query of the request itself (handy for a test that only builds a URL)
or by a script registered for the path: --scripts FILE at start, POST /__monde/script at run
time, ServeurMonde.scripter() from Python. A Python caller may also plug its own handler in
front of a path prefix (ServeurMonde.ajouter_gestionnaire).

Script keys (query parameters, or members of a JSON script):
  statut=407          status code (200)
  texte=...           status text (the standard one for the code)
  version=HTTP/1.0    protocol of the status line (HTTP/1.1); HTTP/1.0 closes the connection
  type=...            Content-Type (text/plain; charset=utf-8); "aucun" sends none
  corps=...           the body, as UTF-8 text
  taille=N            a body of N bytes of the test pattern (see motif())
  fichier=CHEMIN      the body is that file, read as it is sent
  bloc=N              bytes written at a time (65536)
  lent=MS             pause after each block written, in milliseconds
  delai=MS            pause before the answer
  tronque=N           announce the full length, send N bytes of it, then close the connection
  debut=N             the body starts at byte N of its content (a file, the pattern)
  sans_longueur=1     no Content-Length: the body ends when the connection closes
  infini=1            an endless body of the pattern, without Content-Length
  entete=Nom: valeur  an extra header (repeatable)
  long=Nom:N          an extra header whose value is N characters "x" (repeatable)
  proxy=squid/2.7     answer as an old proxy asking for Windows authentication: HTTP/1.0 407
                      with "Proxy-Authenticate: NTLM" and Server/Via naming that product;
                      "proxy=inconnu" names no product

Listeners (ServeurMonde.ports): "http"; with a PKI folder (pki.sh monde) also "https" (server
certificate of the trusted test authority), "https_inconnu" (certificate of an authority no
store trusts), "https_certclient" (asks every client for a certificate, accepts none; one request per
connection, no session resumption) and
"https_tls10" (TLS 1.0 and 1.1 only), "https_editeur" (certificate of the trusted authority for
the publisher's site www.ovalis.fr).

Requests in proxy form ("GET http://host/path") are answered like "GET /path", so the server
can stand in for a proxy. Control paths, never scripted:
  GET  /__monde/journal   every request received so far, one JSON object a line
  POST /__monde/script    {"chemin": "/x", ...keys...}: script a path; {"chemin": "/x"} alone
                          removes its script
  POST /__monde/raz       forget the scripts and the journal
"""

import argparse
import http
import http.server
import json
import os
import signal
import ssl
import sys
import threading
import time
import urllib.parse
import warnings

BLOC_MOTIF = 4096
_BASE_MOTIF = bytes(range(256)) * (BLOC_MOTIF // 256)


def motif(debut, longueur):
    """Bytes [debut, debut+longueur) of the test pattern: 4096-byte blocks, each starting with
    its index on 8 bytes (big-endian) followed by bytes 8..4095 of the cycle 0..255. A lost,
    doubled or misplaced block changes the content."""
    morceaux = []
    pos, fin = debut, debut + longueur
    while pos < fin:
        bloc, dans = divmod(pos, BLOC_MOTIF)
        n = min(BLOC_MOTIF - dans, fin - pos)
        contenu = bloc.to_bytes(8, "big") + _BASE_MOTIF[8:]
        morceaux.append(contenu[dans:dans + n])
        pos += n
    return b"".join(morceaux)


class Script:
    """One scripted answer."""

    def __init__(self, statut=200, texte=None, version="HTTP/1.1", type="text/plain; charset=utf-8",
                 corps=None, taille=None, bloc=65536, lent=0, delai=0, tronque=None, entetes=None, fichier=None,
                 debut=0, sans_longueur=False, infini=False):
        self.statut = int(statut)
        self.texte = texte
        self.version = version
        self.type = type
        if isinstance(corps, str):
            corps = corps.encode("utf-8")
        self.fichier = fichier
        self.debut = int(debut)
        self.sans_longueur = bool(int(sans_longueur)) or bool(int(infini))
        self.infini = bool(int(infini))
        if fichier is not None and taille is None:
            taille = os.path.getsize(fichier) - self.debut
        elif self.infini:
            taille = 0
        elif corps is None and taille is None:
            corps = b"NORVEL monde: OK\n"
        self.corps = corps
        self.taille = int(taille) if taille is not None else len(corps)
        self.bloc = max(1, int(bloc))
        self.lent = int(lent)
        self.delai = int(delai)
        self.tronque = int(tronque) if tronque is not None else None
        self.entetes = list(entetes or [])

    @staticmethod
    def depuis_cles(cles):
        """A script from keys given as {name: [values]} (a parsed query) or {name: value}."""
        def valeurs(nom):
            v = cles.get(nom, [])
            return v if isinstance(v, list) else [v]

        def une(nom, defaut=None):
            v = valeurs(nom)
            return v[-1] if v else defaut

        args = {}
        for nom in ("statut", "texte", "version", "type", "corps", "taille", "bloc", "lent", "delai",
                    "tronque", "fichier", "debut", "sans_longueur", "infini"):
            if une(nom) is not None:
                args[nom] = une(nom)
        entetes = []
        for e in valeurs("entete"):
            nom, _, valeur = str(e).partition(":")
            entetes.append((nom.strip(), valeur.strip()))
        for e in valeurs("long"):
            nom, _, n = str(e).partition(":")
            entetes.append((nom.strip(), "x" * int(n)))
        proxy = une("proxy")
        if proxy is not None:
            args.setdefault("statut", 407)
            args.setdefault("version", "HTTP/1.0")
            args.setdefault("type", "text/html")
            args.setdefault("corps", "<html><body>Proxy authentication required</body></html>\n")
            entetes.append(("Proxy-Authenticate", "NTLM"))
            if proxy == "inconnu":
                entetes += [("Server", "ProxyMaison/1.0"), ("Via", "1.0 passerelle")]
            else:
                produit = proxy + (".STABLE9" if proxy.startswith("squid/") else "")
                entetes += [("Server", produit), ("Via", "1.0 passerelle (%s)" % produit)]
            entetes.append(("Proxy-Connection", "close"))
        if args.get("type") == "aucun":
            args["type"] = None
        return Script(entetes=entetes, **args)


class Requete:
    """What a plugged handler sees of a request."""

    def __init__(self, methode, chemin, params, entetes, corps, ecoute):
        self.methode = methode
        self.chemin = chemin
        self.params = params
        self.entetes = entetes
        self.corps = corps
        self.ecoute = ecoute


class _Gestionnaire(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "NorvelMonde/1.0"

    def log_message(self, format, *args):
        pass

    def _traiter(self):
        monde = self.server.monde
        cible = self.path
        if cible.startswith(("http://", "https://")):
            morceaux = urllib.parse.urlsplit(cible)
            cible = urllib.parse.urlunsplit(("", "", morceaux.path or "/", morceaux.query, ""))
        chemin, _, requete = cible.partition("?")
        longueur = int(self.headers.get("Content-Length") or 0)
        corps = self.rfile.read(longueur) if longueur else b""
        monde.noter({
            "ecoute": self.server.nom, "methode": self.command, "cible": self.path, "chemin": chemin,
            "entetes": {k: v for k, v in self.headers.items()}, "taille_corps": len(corps),
            "certificat_client": self.server.certificat_client(self.connection),
        })
        if chemin.startswith("/__monde/"):
            return self._controle(chemin, corps)
        params = urllib.parse.parse_qs(requete, keep_blank_values=True)
        script = monde.script_pour(Requete(self.command, chemin, params, self.headers, corps, self.server.nom))
        if script is None:
            script = Script.depuis_cles(params)
        self._repondre(script)

    do_GET = do_POST = do_PUT = do_DELETE = do_HEAD = do_OPTIONS = _traiter

    def _controle(self, chemin, corps):
        monde = self.server.monde
        if chemin == "/__monde/journal":
            texte = "".join(json.dumps(e, ensure_ascii=False) + "\n" for e in monde.journal())
            return self._repondre(Script(type="application/x-ndjson", corps=texte))
        if chemin == "/__monde/script":
            cles = json.loads(corps.decode("utf-8") or "{}")
            monde.scripter(cles.pop("chemin"), cles or None)
            return self._repondre(Script(statut=204, corps=b""))
        if chemin == "/__monde/raz":
            monde.raz()
            return self._repondre(Script(statut=204, corps=b""))
        return self._repondre(Script(statut=404, corps="chemin de contrôle inconnu\n"))

    def _repondre(self, s):
        if s.delai:
            time.sleep(s.delai / 1000)
        try:
            texte = s.texte if s.texte is not None else http.HTTPStatus(s.statut).phrase
        except ValueError:
            texte = "Statut %d" % s.statut
        fermer = s.version != "HTTP/1.1" or s.tronque is not None or s.sans_longueur or self.server.fermer
        lignes = ["%s %d %s" % (s.version, s.statut, texte)]
        noms = {n.lower() for n, _ in s.entetes}
        if "server" not in noms:
            lignes.append("Server: " + self.server_version)
        lignes.append("Date: " + self.date_time_string())
        if s.type:
            lignes.append("Content-Type: " + s.type)
        sans_corps = s.statut in (204, 304) or s.statut < 200
        if not sans_corps and not s.sans_longueur:
            lignes.append("Content-Length: %d" % s.taille)
        if fermer:
            lignes.append("Connection: close")
        lignes += ["%s: %s" % e for e in s.entetes]
        try:
            self.wfile.write(("\r\n".join(lignes) + "\r\n\r\n").encode("latin-1"))
            if self.command != "HEAD" and not sans_corps:
                self._ecrire_corps(s)
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError, OSError):
            fermer = True
        self.close_connection = fermer

    def _ecrire_corps(self, s):
        a_envoyer = s.taille if s.tronque is None else min(s.tronque, s.taille)
        fichier = open(s.fichier, "rb") if s.fichier is not None else None
        try:
            if fichier is not None:
                fichier.seek(s.debut)
            pos = 0
            while pos < a_envoyer or s.infini:
                n = s.bloc if s.infini else min(s.bloc, a_envoyer - pos)
                if fichier is not None:
                    morceau = fichier.read(n)
                    if not morceau:
                        break
                elif s.corps is not None:
                    morceau = s.corps[s.debut + pos:s.debut + pos + n]
                else:
                    morceau = motif(s.debut + pos, n)
                self.wfile.write(morceau)
                pos += len(morceau)
                if s.lent:
                    self.wfile.flush()
                    time.sleep(s.lent / 1000)
        finally:
            if fichier is not None:
                fichier.close()


class _Ecoute(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = False

    def __init__(self, nom, monde, contexte_tls=None, port=0, fermer=False):
        self.nom = nom
        self.monde = monde
        self.tls = contexte_tls
        self.fermer = fermer  # one request per connection
        super().__init__(("127.0.0.1", port), _Gestionnaire)

    @property
    def port(self):
        return self.server_address[1]

    def certificat_client(self, connexion):
        if not isinstance(connexion, ssl.SSLSocket):
            return None
        return bool(connexion.getpeercert(binary_form=True))

    def finish_request(self, request, client_address):
        # The TLS handshake runs on the connection's own thread, so a slow or failing client
        # never holds up the others.
        if self.tls is None:
            return super().finish_request(request, client_address)
        request.settimeout(15)
        try:
            tls = self.tls.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError) as e:
            self.monde.noter({"ecoute": self.nom, "echec_tls": str(e)})
            return
        try:
            tls.settimeout(None)
            super().finish_request(tls, client_address)
        finally:
            tls.close()

    def handle_error(self, request, client_address):
        pass


class ServeurMonde:
    """The stand-in server: its listeners, scripts, plugged handlers and journal."""

    def __init__(self, pki=None):
        self._verrou = threading.Lock()
        self._scripts = {}
        self._gestionnaires = []
        self._journal = []
        self._ecoutes = {"http": _Ecoute("http", self)}
        if pki:
            self._ecoutes["https"] = _Ecoute("https", self, self._contexte(pki, "serveur"))
            self._ecoutes["https_inconnu"] = _Ecoute("https_inconnu", self, self._contexte(pki, "serveur-inconnu"))
            self._ecoutes["https_editeur"] = _Ecoute("https_editeur", self, self._contexte(pki, "serveur-editeur"))
            demande = self._contexte(pki, "serveur")
            demande.verify_mode = ssl.CERT_OPTIONAL
            demande.load_verify_locations(os.path.join(pki, "ac.crt"))
            # A full handshake for every request: a resumed session or a kept connection would
            # carry the certificate (or its absence) of an earlier request.
            demande.options |= ssl.OP_NO_TICKET
            self._ecoutes["https_certclient"] = _Ecoute("https_certclient", self, demande, fermer=True)
            anciennes = self._contexte(pki, "serveur")
            with warnings.catch_warnings():
                # Old versions on purpose: the client must be told to accept them.
                warnings.simplefilter("ignore", DeprecationWarning)
                anciennes.minimum_version = ssl.TLSVersion.TLSv1
                anciennes.maximum_version = ssl.TLSVersion.TLSv1_1
            anciennes.set_ciphers("DEFAULT:@SECLEVEL=0")
            self._ecoutes["https_tls10"] = _Ecoute("https_tls10", self, anciennes)
        self._fils = []

    @staticmethod
    def _contexte(pki, nom):
        contexte = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        contexte.load_cert_chain(os.path.join(pki, nom + ".crt"), os.path.join(pki, nom + ".key"))
        return contexte

    @property
    def ports(self):
        return {nom: e.port for nom, e in self._ecoutes.items()}

    def ecouter(self, nom, port, pki=None):
        """Adds a listener on a fixed port, HTTPS with the trusted server certificate of the
        PKI folder when one is given. Before demarrer()."""
        self._ecoutes[nom] = _Ecoute(nom, self, self._contexte(pki, "serveur") if pki else None, port)

    def demarrer(self):
        for e in self._ecoutes.values():
            fil = threading.Thread(target=e.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True)
            fil.start()
            self._fils.append(fil)
        return self

    def arreter(self):
        for e in self._ecoutes.values():
            e.shutdown()
            e.server_close()

    def scripter(self, chemin, script):
        """Scripts a path with a Script or a dict of keys; None removes the script."""
        if isinstance(script, dict):
            script = Script.depuis_cles(script)
        with self._verrou:
            if script is None:
                self._scripts.pop(chemin, None)
            else:
                self._scripts[chemin] = script

    def ajouter_gestionnaire(self, prefixe, fonction):
        """fonction(Requete) answers a Script, or None to fall back to the query's script."""
        with self._verrou:
            self._gestionnaires.append((prefixe, fonction))

    def script_pour(self, requete):
        with self._verrou:
            script = self._scripts.get(requete.chemin)
            gestionnaires = list(self._gestionnaires)
        if script is not None:
            return script
        for prefixe, fonction in gestionnaires:
            if requete.chemin.startswith(prefixe):
                return fonction(requete)
        return None

    def noter(self, entree):
        with self._verrou:
            self._journal.append(entree)

    def journal(self):
        with self._verrou:
            return list(self._journal)

    def raz(self):
        with self._verrou:
            self._scripts.clear()
            self._journal.clear()

    def charger_scripts(self, fichier):
        with open(fichier, encoding="utf-8") as f:
            for chemin, cles in json.load(f).items():
                self.scripter(chemin, cles)


def servir_jusqu_au_signal(serveur):
    """Starts the server, prints its ports as JSON, and serves until SIGTERM or SIGINT."""
    serveur.demarrer()
    print(json.dumps(serveur.ports), flush=True)
    arret = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: arret.set())
    signal.signal(signal.SIGINT, lambda *_: arret.set())
    arret.wait()
    serveur.arreter()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pki", help="folder made by pki.sh monde (adds the HTTPS listeners)")
    parser.add_argument("--scripts", help="JSON file {chemin: {keys}}")
    args = parser.parse_args()
    serveur = ServeurMonde(args.pki)
    if args.scripts:
        serveur.charger_scripts(args.scripts)
    servir_jusqu_au_signal(serveur)


if __name__ == "__main__":
    sys.exit(main())
