// The step flow without any window: tables of events, each with what it must change in the
// state (everything else stays as it was) and what it says comes next.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

#include "core/Chaines.h"
#include "steps/DeroulementEtapes.h"

using namespace norvel;

namespace norvel {

// The fields a failure needs to be read.
void PrintTo(const TypeEtatEtapes& e, std::ostream* os) {
  const auto texte = [](const std::optional<std::wstring>& t) { return t ? "\"" + VersUtf8(*t) + "\"" : std::string("-"); };
  *os << "{phase " << static_cast<int>(e.Phase) << ", étape1 " << e.PatienceEtape1 << e.CocheEtape1 << " "
      << texte(e.MessageEtape1) << (e.MessageEtape1EnErreur ? " rouge" : " noir") << ", étape2 " << e.Etape2
      << e.SaisieIdentifiantPossible << e.ValidationIdentifiantPossible << " " << texte(e.ErreurEtape2) << ", étape3 "
      << e.Etape3 << (e.Ecole ? VersUtf8(e.Ecole->NomEcole) : "-") << e.ConfirmationEcolePossible << ", étape4 "
      << e.Etape4 << e.ConditionsModifiables << ", étape5 " << e.Etape5 << e.CocheEtape5 << " " << texte(e.ErreurEtape5)
      << ", étape6 " << e.Etape6 << e.PatienceEtape6 << e.CocheEtape6 << " \"" << VersUtf8(e.SousEtape) << "\" "
      << e.SousEtapeMontree << e.SousEtapeEnErreur << ", étape7 " << e.Etape7 << e.CocheEtape7 << " "
      << texte(e.ErreurEtape7) << ", image " << static_cast<int>(e.ImageLaterale) << ", bouton "
      << static_cast<int>(e.BoutonParDefaut) << ", focus " << static_cast<int>(e.Focus) << "}";
}

}  // namespace norvel

namespace {

using Suite = TypeSuiteEtapes;
using Phase = TypePhaseEtapes;

TypeInfosHebNP Ecole(const wchar_t* nom) {
  TypeInfosHebNP ecole;
  ecole.NomEcole = nom;
  ecole.MillesimeServeur = L"2024";
  return ecole;
}

// What the scenarios share: the numbers of the lookups they started.
struct TypeContexte {
  uint64_t Recherche1 = 0, Recherche2 = 0;
};

struct TypePas {
  const char* Evenement;
  std::function<Suite(TDeroulementEtapes&, TypeContexte&)> Agir;
  // What the event changes; nothing when empty.
  std::function<void(TypeEtatEtapes&)> Changement;
  Suite Attendue = Suite::Aucune;
};

// An event that answers nothing.
template <class F>
std::function<Suite(TDeroulementEtapes&, TypeContexte&)> Faire(F f) {
  return [f](TDeroulementEtapes& d, TypeContexte& c) {
    f(d, c);
    return Suite::Aucune;
  };
}

void Jouer(TDeroulementEtapes& deroulement, const std::vector<TypePas>& pas) {
  TypeContexte contexte;
  int signalements = 0;
  TypeEtatEtapes signale;
  deroulement.SetSurChangement([&](const TypeEtatEtapes& e) {
    ++signalements;
    signale = e;
  });
  for (const TypePas& p : pas) {
    SCOPED_TRACE(p.Evenement);
    TypeEtatEtapes attendu = deroulement.Etat();
    if (p.Changement) p.Changement(attendu);
    const int avant = signalements;
    EXPECT_EQ(p.Agir(deroulement, contexte), p.Attendue);
    EXPECT_EQ(deroulement.Etat(), attendu);
    // Every change is told, with the state it made.
    if (deroulement.Etat() != attendu || p.Changement) {
      EXPECT_GT(signalements, avant);
      EXPECT_EQ(signale, deroulement.Etat());
    }
  }
}

void Etape2Affichee(TypeEtatEtapes& e) {
  e.PatienceEtape1 = false;
  e.CocheEtape1 = true;
  e.Etape2 = true;
  e.Focus = TypeFocusEtapes::Identifiant;
  e.ImageLaterale = TypeImageLaterale::Ecole;
  e.Phase = Phase::SaisieIdentifiant;
}

const TypePas TestCommence{"test commencé", Faire([](auto& d, auto&) { d.TestAccesCommence(); }),
                           [](TypeEtatEtapes& e) { e.PatienceEtape1 = true; }};
const TypePas AccesReussi{"accès réussi", [](auto& d, auto&) { return d.AccesTeste(true); }, Etape2Affichee};
const TypePas AccesEchoue{"accès en échec", [](auto& d, auto&) { return d.AccesTeste(false); },
                          [](TypeEtatEtapes& e) {
                            e.MessageEtape1 = L"Accès internet en échec. Recherche d'une meilleure configuration ...";
                          },
                          Suite::RechercherConfigurations};

const TypePas EcoleSaisie{"identifiant saisi", Faire([](auto& d, auto&) { d.IdentifiantModifie(true); }),
                          [](TypeEtatEtapes& e) {
                            e.ValidationIdentifiantPossible = true;
                            e.BoutonParDefaut = TypeBoutonParDefaut::ValidationIdentifiant;
                          }};
const TypePas RechercheCommencee{"recherche commencée",
                                 Faire([](auto& d, auto& c) { c.Recherche1 = d.RechercheEcoleCommencee(); }), nullptr};
void EcoleMontree(TypeEtatEtapes& e) {
  e.Ecole = Ecole(L"Ecole Victor");
  e.Etape3 = true;
  e.BoutonParDefaut = TypeBoutonParDefaut::ValidationEcole;
  e.Phase = Phase::EcoleAffichee;
}
const TypePas EcoleTrouvee{"école trouvée",
                           Faire([](auto& d, auto& c) { d.EcoleTrouvee(c.Recherche1, Ecole(L"Ecole Victor")); }),
                           EcoleMontree};
const TypePas EcoleConfirmee{"école confirmée", Faire([](auto& d, auto&) { d.EcoleConfirmee(); }),
                             [](TypeEtatEtapes& e) {
                               e.Etape4 = true;
                               e.SaisieIdentifiantPossible = false;
                               e.ValidationIdentifiantPossible = false;
                               e.ConfirmationEcolePossible = false;
                               e.BoutonParDefaut = TypeBoutonParDefaut::Aucun;
                               e.ImageLaterale = TypeImageLaterale::Installation;
                               e.Focus = TypeFocusEtapes::Conditions;
                               e.Phase = Phase::Conditions;
                             }};
const TypePas ConditionsAcceptees{"conditions acceptées", [](auto& d, auto&) { return d.ConditionsAcceptees(); },
                                  [](TypeEtatEtapes& e) {
                                    e.Etape5 = true;
                                    e.ConditionsModifiables = false;
                                    e.Focus = TypeFocusEtapes::Fermer;
                                    e.Phase = Phase::Installation;
                                  },
                                  Suite::LancerInstallation};

// Up to the installation started.
std::vector<TypePas> JusquALInstallation() {
  return {TestCommence, AccesReussi, EcoleSaisie, RechercheCommencee, EcoleTrouvee, EcoleConfirmee,
          ConditionsAcceptees};
}

std::vector<TypePas> Puis(std::vector<TypePas> debut, const std::vector<TypePas>& suite) {
  debut.insert(debut.end(), suite.begin(), suite.end());
  return debut;
}

using I = IAbonneEvenementInstallationsClientLourd;
TypePas Appel(const char* nom, void (I::*operation)(), std::function<void(TypeEtatEtapes&)> changement) {
  return {nom, Faire([operation](auto& d, auto&) { (static_cast<I&>(d).*operation)(); }), std::move(changement)};
}
TypePas Appel(const char* nom, void (I::*operation)(const std::wstring&), std::wstring texte,
              std::function<void(TypeEtatEtapes&)> changement) {
  return {nom, Faire([operation, texte](auto& d, auto&) { (static_cast<I&>(d).*operation)(texte); }),
          std::move(changement)};
}

const TypePas Raccourci = Appel("raccourci créé", &I::RaccourciPortailCree, [](TypeEtatEtapes& e) {
  e.CocheEtape5 = true;
  e.Etape6 = true;
  e.PatienceEtape6 = true;
});
const TypePas Desinstallation =
    Appel("désinstallation", &I::DesinstallationEnCours, L"Client NORVEL Primaire 2022 (Win32)", [](TypeEtatEtapes& e) {
      e.SousEtape = L"Désinstallation de Client NORVEL Primaire 2022 (Win32) en cours ...";
      e.SousEtapeMontree = true;
    });
const TypePas Telechargement = Appel("téléchargement", &I::TelechargementEnCours, [](TypeEtatEtapes& e) {
  e.SousEtape = L"Téléchargement de l'installation en cours ...";
  e.SousEtapeMontree = true;
});
const TypePas Installation = Appel("installation", &I::InstallationEnCours,
                                   [](TypeEtatEtapes& e) { e.SousEtape = L"Installation en cours ..."; });
const TypePas InstallationTerminee = Appel("installation terminée", &I::InstallationTerminee, [](TypeEtatEtapes& e) {
  e.PatienceEtape6 = false;
  e.SousEtape = L"Installation réalisée avec succès";
  e.CocheEtape6 = true;
  e.Etape7 = true;
});

// Step 6 stopped by an error: the line below it in red, the whole text shown.
std::function<void(TypeEtatEtapes&)> Echec6(std::wstring texte) {
  return [texte](TypeEtatEtapes& e) {
    e.PatienceEtape6 = false;
    e.SousEtape = texte;
    e.SousEtapeMontree = true;
    e.SousEtapeEnErreur = true;
    e.Phase = Phase::Terminee;
  };
}

struct TypeScenario {
  const char* Nom;
  std::vector<TypePas> Pas;
};

void JouerTous(const std::vector<TypeScenario>& scenarios) {
  for (const auto& s : scenarios) {
    SCOPED_TRACE(s.Nom);
    auto deroulement = NouvelObjet<TDeroulementEtapes>();
    Jouer(*deroulement, s.Pas);
  }
}

}  // namespace

TEST(DeroulementEtapes, Etape1TestRechercheEtChoix) {
  JouerTous({
      {"l'accès marche", {TestCommence, AccesReussi}},
      {"aucune configuration trouvée",
       {TestCommence, AccesEchoue,
        {"aucune proposition", [](auto& d, auto&) { return d.ConfigurationsTrouvees(0); },
         [](TypeEtatEtapes& e) {
           e.PatienceEtape1 = false;
           e.MessageEtape1 = L"Aucune configuration http fonctionnelle n'a été trouvée.";
           e.Focus = TypeFocusEtapes::Fermer;
           e.Phase = Phase::ArretEtape1;
         }}}},
      {"choix refusé",
       {TestCommence, AccesEchoue,
        {"deux propositions", [](auto& d, auto&) { return d.ConfigurationsTrouvees(2); },
         [](TypeEtatEtapes& e) { e.PatienceEtape1 = false; }, Suite::ChoisirConfiguration},
        {"refusé", Faire([](auto& d, auto&) { d.ChoixConfigurationRefuse(); }),
         [](TypeEtatEtapes& e) {
           e.MessageEtape1 = L"Annulation choix meilleure configuration";
           e.Focus = TypeFocusEtapes::Fermer;
           e.Phase = Phase::ArretEtape1;
         }}}},
      {"configuration choisie et appliquée",
       {TestCommence, AccesEchoue,
        {"une proposition", [](auto& d, auto&) { return d.ConfigurationsTrouvees(1); },
         [](TypeEtatEtapes& e) { e.PatienceEtape1 = false; }, Suite::ChoisirConfiguration},
        {"appliquée", Faire([](auto& d, auto&) { d.ConfigurationAppliquee(); }),
         [](TypeEtatEtapes& e) {
           Etape2Affichee(e);
           e.MessageEtape1 = L"Une configuration http fonctionnelle a été appliquée.";
           e.MessageEtape1EnErreur = false;
         }}}},
  });
}

TEST(DeroulementEtapes, Etape2RechercheEtModifications) {
  const TypePas modifie{"identifiant modifié", Faire([](auto& d, auto&) { d.IdentifiantModifie(true); }),
                        [](TypeEtatEtapes& e) {
                          e.Etape3 = false;
                          e.BoutonParDefaut = TypeBoutonParDefaut::ValidationIdentifiant;
                          e.Phase = Phase::SaisieIdentifiant;
                        }};
  const TypePas efface{"identifiant effacé", Faire([](auto& d, auto&) { d.IdentifiantModifie(false); }),
                       [](TypeEtatEtapes& e) { e.ValidationIdentifiantPossible = false; }};
  const TypePas introuvable{"école introuvable",
                            Faire([](auto& d, auto& c) { d.EcoleIntrouvable(c.Recherche1, L"Aucune école"); }),
                            [](TypeEtatEtapes& e) { e.ErreurEtape2 = L"Aucune école"; }};
  const TypePas deuxRecherches{"deux recherches", Faire([](auto& d, auto& c) {
                                 c.Recherche1 = d.RechercheEcoleCommencee();
                                 c.Recherche2 = d.RechercheEcoleCommencee();
                               }),
                               nullptr};
  JouerTous({
      // The school stays known (for the titles of steps 6 and 7) while its panel is hidden.
      {"trouvée puis modifiée puis effacée",
       {TestCommence, AccesReussi, EcoleSaisie, RechercheCommencee, EcoleTrouvee, modifie, efface}},
      // A failed lookup after a successful one keeps the school shown, the error below step 2.
      {"trouvée puis introuvable", {TestCommence, AccesReussi, EcoleSaisie, RechercheCommencee, EcoleTrouvee,
                                    RechercheCommencee, introuvable}},
      {"introuvable puis l'erreur s'efface à la modification",
       {TestCommence, AccesReussi, EcoleSaisie, RechercheCommencee, introuvable,
        {"modifié", Faire([](auto& d, auto&) { d.IdentifiantModifie(true); }),
         [](TypeEtatEtapes& e) { e.ErreurEtape2.reset(); }}}},
      // Nested waits give the newest answer first: the older one, coming after, is stale.
      {"la réponse d'une recherche dépassée ne compte pas",
       {TestCommence, AccesReussi, EcoleSaisie, deuxRecherches,
        {"réponse de la seconde", Faire([](auto& d, auto& c) { d.EcoleIntrouvable(c.Recherche2, L"Aucune école"); }),
         [](TypeEtatEtapes& e) { e.ErreurEtape2 = L"Aucune école"; }},
        {"réponse de la première",
         Faire([](auto& d, auto& c) { d.EcoleTrouvee(c.Recherche1, Ecole(L"Ecole Victor")); }), nullptr}}},
      {"une modification pendant la recherche rend sa réponse caduque",
       {TestCommence, AccesReussi, EcoleSaisie, RechercheCommencee,
        {"modifié", Faire([](auto& d, auto&) { d.IdentifiantModifie(true); }), nullptr},
        {"réponse", Faire([](auto& d, auto& c) { d.EcoleTrouvee(c.Recherche1, Ecole(L"Ecole Victor")); }), nullptr}}},
  });
}

TEST(DeroulementEtapes, Etapes3Et4FigentLEcoleEtLancentLInstallationUneFois) {
  JouerTous({
      {"confirmée puis acceptée",
       Puis(JusquALInstallation(),
            {{"conditions de nouveau", [](auto& d, auto&) { return d.ConditionsAcceptees(); }, nullptr},
             {"identifiant modifié après la confirmation",
              Faire([](auto& d, auto&) { d.IdentifiantModifie(true); }), nullptr},
             {"école confirmée de nouveau", Faire([](auto& d, auto&) { d.EcoleConfirmee(); }), nullptr}})},
      // A lookup still awaited when the school was confirmed changes nothing.
      {"réponse après la confirmation",
       {TestCommence, AccesReussi, EcoleSaisie, RechercheCommencee, EcoleTrouvee,
        {"seconde recherche", Faire([](auto& d, auto& c) { c.Recherche2 = d.RechercheEcoleCommencee(); }), nullptr},
        EcoleConfirmee,
        {"réponse", Faire([](auto& d, auto& c) { d.EcoleTrouvee(c.Recherche2, Ecole(L"Autre école")); }), nullptr}}},
      {"conditions avant la confirmation",
       {TestCommence, AccesReussi, EcoleSaisie, RechercheCommencee, EcoleTrouvee,
        {"conditions", [](auto& d, auto&) { return d.ConditionsAcceptees(); }, nullptr}}},
  });
}

TEST(DeroulementEtapes, Etapes5a7SelonLesAppelsDuTravailleur) {
  const auto terminee = [](TypeEtatEtapes& e) { e.Phase = Phase::Terminee; };
  JouerTous({
      {"complète", Puis(JusquALInstallation(),
                        {Raccourci, Desinstallation, Telechargement, Installation, InstallationTerminee,
                         Appel("lancement terminé", &I::LancementTermine, [](TypeEtatEtapes& e) {
                           e.CocheEtape7 = true;
                           e.Phase = Phase::Terminee;
                         })})},
      // The shortcut's failure does not stop the installation.
      {"raccourci en échec",
       Puis(JusquALInstallation(), {Appel("raccourci en échec", &I::EchecRaccourciPortail, L"Accès refusé",
                                          [](TypeEtatEtapes& e) {
                                            e.ErreurEtape5 = L"Accès refusé";
                                            e.Etape6 = true;
                                            e.PatienceEtape6 = true;
                                          }),
                                     Telechargement})},
      {"désinstallation en échec",
       Puis(JusquALInstallation(),
            {Raccourci, Desinstallation,
             Appel("échec", &I::EchecDesinstallation, L"Code de sortie 5",
                   Echec6(L"Désinstallation de Client NORVEL Primaire 2022 (Win32) en cours ... Code de sortie 5"))})},
      // The catalogue or the registry unreadable before any removal: the message alone, shown.
      {"échec avant toute désinstallation",
       Puis(JusquALInstallation(),
            {Raccourci, Appel("échec", &I::EchecDesinstallation, L"Catalogue illisible", Echec6(L"Catalogue illisible"))})},
      {"téléchargement en échec",
       Puis(JusquALInstallation(),
            {Raccourci, Telechargement,
             Appel("échec", &I::EchecTelechargement, L"Erreur HTTP 404 : Not Found",
                   Echec6(L"Erreur lors du téléchargement : Erreur HTTP 404 : Not Found"))})},
      {"installation en échec",
       Puis(JusquALInstallation(), {Raccourci, Telechargement, Installation,
                                    Appel("échec", &I::EchecInstallation, L"Code de sortie 1603",
                                          Echec6(L"Erreur lors de l'installation : Code de sortie 1603"))})},
      {"lancement en échec",
       Puis(JusquALInstallation(), {Raccourci, Telechargement, Installation, InstallationTerminee,
                                    Appel("échec", &I::EchecLancement, L"Aucune application associée",
                                          [terminee](TypeEtatEtapes& e) {
                                            e.ErreurEtape7 = L"Aucune application associée";
                                            terminee(e);
                                          })})},
  });
}
