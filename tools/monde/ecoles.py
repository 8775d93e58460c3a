#!/usr/bin/env python3
"""Stand-in of the maker's hosting-information web service (school lookup), on 127.0.0.1.

  GET /api/InfosNP/<identifier>?plateforme=Win32|Win64     header x-api-key: <development key>

answers the school's hosting record as "application/json; charset=utf-8", or a problem
("application/problem+json; charset=utf-8", {"title": ...}): 400 for an unknown identifier
(the title names the identifier as received, once percent-decoded) or platform, 401 for a
missing or wrong key, 404 for a path with more than one segment.

Sample schools: see ECOLES. Faults are switched by the identifier itself, so that a test (or a
person typing in the assistant) needs no other channel: "<school>~<fault>~<fault>...":
  type-invalide      200 with "text/plain; charset=utf-8"
  sans-charset       200 with "application/json" alone
  sans-<member>      the record without that member
  <member>=<value>   the member set to <value> read as JSON (a bare word stays text)
  telechargement=<f> the download URL with "~<f>/" before its file name: a fault of the download
                     server (telechargements.py), e.g. telechargement=type-html
  port-texte         "portTcp" as the string "21300" instead of the number
  booleens-nombres   "simulation" 1, "serveurEnService" 0
  booleens-mots      "simulation" "True", "serveurEnService" "FALSE"
  json-invalide      200 with a body that is not JSON
  tableau            200 with a JSON array holding the record
  erreur404          404 problem with a title
  erreur500          500 text/html, status text "Internal Server Error"
  erreur500-json     500 problem with a title
  lent=<ms>          the answer comes after that many milliseconds
  volumineux=<KiB>   the record with a member "remplissage" of that many KiB
  longueur-inconnue  the answer without Content-Length (it ends when the connection closes)

Plugged into the test world (monde.py) in front of /api/InfosNP/ on every listener. Alone:
  ecoles.py --pki DIR [--port 44380]
serves it on https://localhost:PORT/api/InfosNP/ (the assistant's development endpoint) with
the server certificate of the test authority in DIR (pki.sh monde DIR).
"""

import argparse
import copy
import json
import os
import sys
import urllib.parse

ICI = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, ICI)

from serveur import Script, ServeurMonde, servir_jusqu_au_signal  # noqa: E402

PREFIXE = "/api/InfosNP/"
# The port of the assistant's development endpoint (school/PointsAccesInfosHeb.cpp).
PORT_DEVELOPPEMENT = 44380
# The clear text of the assistant's built-in development key.
CLE_DEVELOPPEMENT = "NvP-dev-5J3h6T0"

TYPE_JSON = "application/json; charset=utf-8"
TYPE_PROBLEME = "application/problem+json; charset=utf-8"

# Sample schools, by identifier. "{http}" in a URL becomes the world's plain-HTTP listener,
# "{plateforme}" the platform code in lower case.
ECOLES = {
    "0750001A": {
        "nomDomaine": "ecole-ferry.norvel-primaire.test",
        "portTcp": 21300,
        "millesimeServeur": "2023",
        "urlTelechargementClient": "{http}/telechargement/Install_NVLPRIMclient_FR_2023.0.0.204_{plateforme}.exe",
        "simulation": False,
        "nomEcole": "École élémentaire Jules Ferry",
        "adresseEcole": "12, rue des Écoles",
        "codePostalEcole": "75005",
        "villeEcole": "Paris",
        "paysEcole": "France",
        "serveurEnService": True,
        "urlPortail": "https://ecole-ferry.norvel-primaire.test/norvelprimaire/api/portail.html",
    },
    "0130009B": {
        "nomDomaine": "ecole-pins.norvel-primaire.test",
        "portTcp": 21400,
        "millesimeServeur": "2022",
        "urlTelechargementClient": "{http}/telechargement/Install_NVLPRIMclient_FR_2022.0.3.171_{plateforme}.exe",
        "simulation": True,
        "nomEcole": "Ecole Allée des pins",
        "adresseEcole": "38, Allée des pins",
        "codePostalEcole": "13009",
        "villeEcole": "Marseille",
        "paysEcole": "France",
        "serveurEnService": False,
        "urlPortail": "https://ecole-pins.norvel-primaire.test/norvelprimaire/api/portail.html?ecole=pins&lang=fr",
    },
    "DEMO-2023": {
        "nomDomaine": "demo.norvel-primaire.test",
        "portTcp": 21300,
        "millesimeServeur": "2023",
        "urlTelechargementClient": "{http}/telechargement/Install_NVLPRIMclient_FR_2023.0.0.204_{plateforme}.exe",
        "simulation": True,
        "nomEcole": "Ecole de démonstration",
        "adresseEcole": "1, place de la République",
        "codePostalEcole": "69001",
        "villeEcole": "Lyon",
        "paysEcole": "France",
        "serveurEnService": True,
        "urlPortail": "https://demo.norvel-primaire.test/norvelprimaire/api/portail.html",
        # Members the assistant does not know are ignored.
        "academie": "Lyon",
    },
}

PLATEFORMES = ("Win32", "Win64")


def probleme(statut, titre, delai=0):
    corps = json.dumps({"type": "about:blank", "title": titre, "status": statut}, ensure_ascii=False)
    return Script(statut=statut, type=TYPE_PROBLEME, corps=corps, delai=delai)


def _valeur(texte):
    try:
        return json.loads(texte)
    except ValueError:
        return texte


class ServiceEcoles:
    """The handler plugged in front of PREFIXE."""

    def __init__(self, serveur, cle=CLE_DEVELOPPEMENT):
        self.serveur = serveur
        self.cle = cle

    def brancher(self):
        self.serveur.ajouter_gestionnaire(PREFIXE, self.repondre)
        return self

    def repondre(self, requete):
        if requete.methode != "GET":
            return Script(statut=405, type=TYPE_PROBLEME, corps=json.dumps({"title": "Méthode non permise"}))
        # The raw segment: a typed "/" arrives percent-encoded and stays inside the identifier.
        segment = requete.chemin[len(PREFIXE):]
        if "/" in segment or not segment:
            return probleme(404, "Ressource introuvable : " + requete.chemin)
        identifiant, *defauts = urllib.parse.unquote(segment, errors="replace").split("~")
        delai = 0
        for d in defauts:
            if d.startswith("lent="):
                delai = int(d[5:])
        if requete.entetes.get("x-api-key") != self.cle:
            return probleme(401, "Clé d'API absente ou incorrecte", delai)
        plateforme = (requete.params.get("plateforme") or [""])[-1]
        if plateforme not in PLATEFORMES:
            return probleme(400, "Plateforme inconnue : « %s »" % plateforme, delai)
        ecole = ECOLES.get(identifiant)
        if ecole is None:
            return probleme(400, "Aucun établissement ne correspond à l'identifiant « %s »" % identifiant, delai)
        return self._fiche(ecole, plateforme, defauts, delai)

    def _fiche(self, ecole, plateforme, defauts, delai):
        fiche = copy.deepcopy(ecole)
        http = "http://localhost:%d" % self.serveur.ports["http"]
        for nom, valeur in fiche.items():
            if isinstance(valeur, str):
                fiche[nom] = valeur.replace("{http}", http).replace("{plateforme}", plateforme.lower())
        type_contenu = TYPE_JSON
        forme = "objet"
        sans_longueur = False
        for d in defauts:
            if d.startswith("telechargement="):
                dossier, _, nom = fiche["urlTelechargementClient"].rpartition("/")
                fiche["urlTelechargementClient"] = "%s/~%s/%s" % (dossier, d[len("telechargement="):], nom)
                continue
            if d == "type-invalide":
                type_contenu = "text/plain; charset=utf-8"
            elif d == "sans-charset":
                type_contenu = "application/json"
            elif d.startswith("sans-"):
                fiche.pop(d[5:], None)
            elif d == "port-texte":
                fiche["portTcp"] = str(fiche["portTcp"])
            elif d == "booleens-nombres":
                fiche.update(simulation=1, serveurEnService=0)
            elif d == "booleens-mots":
                fiche.update(simulation="True", serveurEnService="FALSE")
            elif d.startswith("volumineux="):
                fiche["remplissage"] = "x" * (int(d[len("volumineux="):]) * 1024)
            elif d == "longueur-inconnue":
                sans_longueur = True
            elif d in ("json-invalide", "tableau"):
                forme = d
            elif d == "erreur404":
                return probleme(404, "Fiche d'hébergement introuvable", delai)
            elif d == "erreur500":
                return Script(statut=500, texte="Internal Server Error", type="text/html; charset=utf-8",
                              corps="<html><body><h1>500</h1></body></html>\n", delai=delai)
            elif d == "erreur500-json":
                return probleme(500, "Service d'hébergement indisponible", delai)
            elif "=" in d and not d.startswith(("lent=", "volumineux=")):
                nom, _, valeur = d.partition("=")
                fiche[nom] = _valeur(valeur)
        if forme == "json-invalide":
            corps = '{"nomDomaine": '
        elif forme == "tableau":
            corps = json.dumps([fiche], ensure_ascii=False)
        else:
            corps = json.dumps(fiche, ensure_ascii=False)
        return Script(type=type_contenu, corps=corps, delai=delai, sans_longueur=sans_longueur)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pki", required=True, help="folder made by pki.sh monde")
    parser.add_argument("--port", type=int, default=PORT_DEVELOPPEMENT)
    args = parser.parse_args()
    serveur = ServeurMonde()
    serveur.ecouter("https", args.port, args.pki)
    ServiceEcoles(serveur).brancher()
    servir_jusqu_au_signal(serveur)


if __name__ == "__main__":
    sys.exit(main())
