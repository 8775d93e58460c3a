#!/usr/bin/env python3
"""Stand-in of the download server of the client setup, plugged into the test world.

  GET /telechargement/<name>    the file <name> of the downloads folder, as
                                "application/octet-stream"; 404 when there is none

Faults are chosen by path segments between the prefix and the name, so that the name (what the
assistant keeps as its local file name) stays the file's own:
  ~type-html         the file as "text/html; charset=utf-8"
  ~type-parametre    as "application/octet-stream; charset=binary" (a parameter after the type)
  ~lent=MS           a pause of MS milliseconds after each 64 KiB block
  ~tronque           half the file announced whole, then the connection closes
  ~statut=N          that status instead of 200 (the file as body)
For example /telechargement/~type-html/SetupNorvelPrimaire-ovalis.exe.
"""

import os

from serveur import Script

PREFIXE = "/telechargement/"
TYPE_SETUP = "application/octet-stream"


class ServiceTelechargements:
    """The handler plugged in front of PREFIXE; files come from `dossier` (none: every file is
    missing)."""

    def __init__(self, serveur, dossier=None):
        self.serveur = serveur
        self.dossier = os.path.abspath(dossier) if dossier else None

    def brancher(self):
        self.serveur.ajouter_gestionnaire(PREFIXE, self.repondre)
        return self

    def repondre(self, requete):
        *defauts, nom = requete.chemin[len(PREFIXE):].split("/")
        if any(not d.startswith("~") for d in defauts):
            return self._absent(requete.chemin)
        fichier = os.path.join(self.dossier, nom) if self.dossier and nom not in ("", ".", "..") else None
        if fichier is None or not os.path.isfile(fichier):
            return self._absent(requete.chemin)
        cles = {"type": TYPE_SETUP, "fichier": fichier}
        for d in (d[1:] for d in defauts):
            if d == "type-html":
                cles["type"] = "text/html; charset=utf-8"
            elif d == "type-parametre":
                cles["type"] = TYPE_SETUP + "; charset=binary"
            elif d.startswith("lent="):
                cles["lent"] = int(d[5:])
            elif d == "tronque":
                cles["tronque"] = os.path.getsize(fichier) // 2
            elif d.startswith("statut="):
                cles["statut"] = int(d[7:])
            else:
                return self._absent(requete.chemin)
        return Script(**cles)

    @staticmethod
    def _absent(chemin):
        return Script(statut=404, type="text/html; charset=utf-8",
                      corps="<html><body>Fichier introuvable : %s</body></html>\n" % chemin)
