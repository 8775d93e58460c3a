#!/usr/bin/env python3
"""Stand-in of the download server of the client setup, plugged into the test world.

  GET /telechargement/<name>    the file <name> of the downloads folder, as
                                "application/octet-stream"; 404 when there is none

Every file is served with its validators (ETag, Last-Modified) and honours a single range
("Range: bytes=N-" or "bytes=N-M") with 206 and Content-Range, guarded by If-Range: a validator
that is no longer the file's gets the whole file with 200.

Faults are chosen by path segments between the prefix and the name, so that the name (what the
assistant keeps as its local file name) stays the file's own:
  ~type-html         the file as "text/html; charset=utf-8"
  ~type-parametre    as "application/octet-stream; charset=binary" (a parameter after the type)
  ~lent=MS           a pause of MS milliseconds after each block (64 KiB, see ~bloc)
  ~bloc=N            blocks of N bytes (with ~lent: a trickle)
  ~tronque           half the file announced whole, then the connection closes
  ~statut=N          that status instead of 200 (the file as body)
  ~motif=N           the content is N bytes of the world's test pattern, whatever the name
  ~coupe=N           the first answer to this path stops after N bytes of body and the
                     connection closes; later answers are whole
  ~coupe-toujours=N  every answer stops after N bytes of body
  ~change            the content changes at every request of this path (with ~motif: version
                     k is the pattern from byte k * 2**32, see version_motif), and so do its
                     validators
  ~sans-plages       ranges are ignored: always the whole file with 200
  ~sans-etag         no ETag: Last-Modified alone guards a range
  ~sans-longueur     no Content-Length: the body ends when the connection closes
  ~annonce=N         Content-Length says N whatever is sent
  ~essai=X           nothing: makes a path of its own, for the faults that count requests
For example /telechargement/~type-html/SetupNorvelPrimaire-ovalis.exe,
/telechargement/~motif=8388608/~coupe=3000000/~essai=a/grand.exe.
"""

import email.utils
import os
import re
import threading

from serveur import Script

PREFIXE = "/telechargement/"
TYPE_SETUP = "application/octet-stream"
# The date of the pattern's content, version 0.
DATE_MOTIF = 1767225600  # 2026-01-01T00:00:00Z


def version_motif(version):
    """First byte, in the pattern, of version `version` of a ~change pattern content."""
    return version << 32


class ServiceTelechargements:
    """The handler plugged in front of PREFIXE; files come from `dossier` (none: every file is
    missing)."""

    def __init__(self, serveur, dossier=None):
        self.serveur = serveur
        self.dossier = os.path.abspath(dossier) if dossier else None
        self._verrou = threading.Lock()
        self._requetes = {}  # path -> requests seen, for ~coupe and ~change

    def brancher(self):
        self.serveur.ajouter_gestionnaire(PREFIXE, self.repondre)
        return self

    def _compter(self, chemin):
        with self._verrou:
            rang = self._requetes.get(chemin, 0)
            self._requetes[chemin] = rang + 1
            return rang

    def repondre(self, requete):
        *defauts, nom = requete.chemin[len(PREFIXE):].split("/")
        if any(not d.startswith("~") for d in defauts):
            return self._absent(requete.chemin)
        options = {}
        for d in (d[1:] for d in defauts):
            cle, _, valeur = d.partition("=")
            if cle not in ("type-html", "type-parametre", "lent", "bloc", "tronque", "statut", "motif", "coupe",
                           "coupe-toujours", "change", "sans-plages", "sans-etag", "sans-longueur", "annonce", "essai"):
                return self._absent(requete.chemin)
            options[cle] = valeur
        rang = self._compter(requete.chemin)
        version = rang if "change" in options else 0

        cles = {"type": TYPE_SETUP}
        if "motif" in options:
            taille = int(options["motif"])
            origine = version_motif(version)
            date = DATE_MOTIF + version
        else:
            fichier = os.path.join(self.dossier, nom) if self.dossier and nom not in ("", ".", "..") else None
            if fichier is None or not os.path.isfile(fichier):
                return self._absent(requete.chemin)
            cles["fichier"] = fichier
            taille = os.path.getsize(fichier)
            origine = 0
            date = int(os.path.getmtime(fichier)) + version
        etag = '"%x-%x-%d"' % (taille, date, version)
        derniere_modification = email.utils.formatdate(date, usegmt=True)

        entetes = [("Last-Modified", derniere_modification)]
        if "sans-etag" not in options:
            entetes.append(("ETag", etag))
        if "sans-plages" not in options:
            entetes.append(("Accept-Ranges", "bytes"))

        debut, fin = 0, taille
        plage = self._plage(requete, taille, (etag, derniere_modification)) if "sans-plages" not in options else None
        if plage is not None:
            debut, fin = plage
            cles["statut"] = 206
            entetes.append(("Content-Range", "bytes %d-%d/%d" % (debut, fin - 1, taille)))
        cles["debut"] = origine + debut if "motif" in options else debut
        cles["taille"] = fin - debut

        if "type-html" in options:
            cles["type"] = "text/html; charset=utf-8"
        if "type-parametre" in options:
            cles["type"] = TYPE_SETUP + "; charset=binary"
        if "lent" in options:
            cles["lent"] = int(options["lent"])
        if "bloc" in options:
            cles["bloc"] = int(options["bloc"])
        if "tronque" in options:
            cles["tronque"] = taille // 2
        if "statut" in options:
            cles["statut"] = int(options["statut"])
        if "coupe-toujours" in options or ("coupe" in options and rang == 0):
            cles["tronque"] = int(options.get("coupe-toujours", options.get("coupe")))
        if "sans-longueur" in options:
            cles["sans_longueur"] = True
        if "annonce" in options:
            # Whatever is announced, the content is what it is; the connection closes after it.
            entetes.append(("Content-Length", options["annonce"]))
            cles["sans_longueur"] = True
        return Script(entetes=entetes, **cles)

    @staticmethod
    def _plage(requete, taille, validateurs):
        """(debut, fin) of the range asked for, or None for the whole file."""
        demande = requete.entetes.get("Range")
        garde = requete.entetes.get("If-Range")
        if not demande or (garde is not None and garde not in validateurs):
            return None
        trouve = re.fullmatch(r"bytes=(\d+)-(\d*)", demande.strip())
        if not trouve:
            return None
        debut = int(trouve.group(1))
        fin = min(taille, int(trouve.group(2)) + 1) if trouve.group(2) else taille
        return (debut, fin) if debut < fin else None

    @staticmethod
    def _absent(chemin):
        return Script(statut=404, type="text/html; charset=utf-8",
                      corps="<html><body>Fichier introuvable : %s</body></html>\n" % chemin)
