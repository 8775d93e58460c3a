#pragma once
// The user in front of the login dialog of Squid's Basic port, as the GUI tests play them: a
// blank login first (refused with its message), then the right credentials with blanks around
// the login. Also what the user's answer leaves behind: the credentials kept, obfuscated, in the
// HTTP configuration file, and Squid's journal naming the user for the pages fetched.
#include <gtest/gtest.h>

#include <string>

#include "core/Chaines.h"
#include "http/InfoHttp.h"
#include "support/Monde.h"
#include "support/Pilote.h"
#include "support/ServicesInterface.h"
#include "support/Sondage.h"

namespace norvel::test {

class TUtilisateurProxyBasic {
 public:
  static inline const std::wstring TitreDemande = L"Demande d'authentification";

  explicit TUtilisateurProxyBasic(const TMonde& monde)
      : FMonde(monde),
        Proxy(monde.AdresseProxy("squid_auth")),
        Utilisateur(monde.Valeur("squid_utilisateur")),
        MotDePasse(monde.Valeur("squid_motdepasse")) {}

  // The driver's commands of the user's part.
  std::wstring Commandes() const {
    return OptionTitre(TitreDemande) + L"attendre-fenetre -- lire LabelExplication -- saisir EditUserName \" \" " +
           L"-- saisir EditMotDePasse x -- cliquer-sans-attendre BtnValider -- " + LireEtFermerInformation(TitreDemande) +
           L"attendre-focus EditUserName -- saisir EditUserName \" " + Utilisateur + L" \" -- saisir EditMotDePasse \"" +
           MotDePasse + L"\" -- cliquer BtnValider";
  }
  // The dialog named the proxy and refused the blank login.
  void VerifierSortie(const TResultatPilote& pilote) const {
    EXPECT_TRUE(CommencePar(pilote.Sortie, L"Veuillez vous authentifier auprès du serveur proxy " + Proxy + L"\n"))
        << VersUtf8(pilote.Sortie);
    EXPECT_NE(std::wstring::npos, pilote.Sortie.find(L"\tLa saisie de votre idenfiant est obligatoire\n"));
  }

  // The credentials the configuration file keeps for the proxy, read back from their obfuscated
  // form; the file never holds them in clear. The configuration thread writes it on its own time.
  TypeInfoAuthHttp InfoAuthDuFichier(const std::wstring& fichierConfig) const {
    std::string fichier;
    EXPECT_TRUE(AttendreQue([&] {
      fichier = LireOctets(fichierConfig);
      return fichier.find("<InfoAuthProxy ") != std::string::npos;
    })) << fichier;
    EXPECT_NE(std::string::npos, fichier.find("Proxy=\"" + VersUtf8(Proxy) + "\""));
    EXPECT_EQ(std::string::npos, fichier.find(VersUtf8(MotDePasse))) << "no password in clear";
    EXPECT_EQ(std::string::npos, fichier.find(VersUtf8(Utilisateur))) << "no login in clear";
    const auto element = [&](const std::string& nom) {
      const auto debut = fichier.find("<" + nom + ">"), fin = fichier.find("</" + nom + ">");
      if (debut == std::string::npos || fin == std::string::npos) return std::wstring();
      return DepuisUtf8(fichier.substr(debut + nom.size() + 2, fin - debut - nom.size() - 2));
    };
    return {static_cast<uint32_t>(std::stoul(element("Schema").empty() ? L"0" : element("Schema"))),
            TypeLoginOffusque::CreateHexa(element("Identifiant")),
            TypeMotDePasseOffusque::CreateHexa(element("MotDePasse"))};
  }
  // Squid logged the page as fetched for the user.
  bool ServiePourLUtilisateur(const std::string& chemin) const {
    for (const std::wstring& ligne : Decouper(DepuisUtf8(FMonde.JournalSquid()), L'\n')) {
      const std::string l = VersUtf8(ligne);
      if (l.find(chemin) != std::string::npos && l.find("/200 ") != std::string::npos &&
          l.find(" " + VersUtf8(Utilisateur) + " ") != std::string::npos)
        return true;
    }
    return false;
  }

 private:
  const TMonde& FMonde;

 public:
  const std::wstring Proxy;
  const std::wstring Utilisateur;
  const std::wstring MotDePasse;
};

}  // namespace norvel::test
