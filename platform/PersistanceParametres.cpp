#include "platform/PersistanceParametres.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "platform/Chemins.h"
#include "platform/DocumentXml.h"
#include "platform/Executable.h"
#include "platform/FichiersPartages.h"
#include "platform/ServicesApplication.h"
#include "platform/SurveillanceFichier.h"
#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {

constexpr wchar_t kRacine[] = L"ROOT";
constexpr wchar_t kAttributVersion[] = L"VERSION";
constexpr wchar_t kExtension[] = L".xcfg";

// Connects a file watcher to a persistence object: a change of the file is checked against the
// object's own date. The object owns the watcher, which owns this handler: the pointer back is
// not counted, and the object detaches the handler before it goes.
class TTraitementModifExternePersistanceApplicatif
    : public TImplemente<TObjetInterfacable, ITraitementSurModificationFichier> {
 public:
  explicit TTraitementModifExternePersistanceApplicatif(IPersistanceParametresApplicatifPartages* APersistance)
      : FPersistance(APersistance) {}
  void SurModificationFichier(const std::wstring&) override { FPersistance->VerifierModifExterne(); }
  void SurErreurSurveillance(const std::wstring&, std::exception_ptr) override {}

 private:
  IPersistanceParametresApplicatifPartages* FPersistance;
};

// "VERSION" of a block: 1 when missing or not a whole number.
int VersionBloc(IXMLDOMElement* bloc) {
  std::wstring texte;
  if (!LireAttribut(bloc, kAttributVersion, texte) || texte.empty()) return 1;
  wchar_t* fin = nullptr;
  errno = 0;
  const long valeur = std::wcstol(texte.c_str(), &fin, 10);
  if (errno != 0 || fin != texte.c_str() + texte.size() || valeur < INT_MIN || valeur > INT_MAX) return 1;
  return static_cast<int>(valeur);
}

}  // namespace

TPersistanceParametresApplicatif::TPersistanceParametresApplicatif(const std::wstring& ANomFichier,
                                                                   std::wstring AVersionFormat,
                                                                   TRef<IModeleParametresApplicatif> AModele)
    : FModele(std::move(AModele)),
      FNomFichier(NomFichierEffectif(ANomFichier)),
      FVersionFormat(std::move(AVersionFormat)),
      FMutex(FNomFichier) {
  LireFichier();
}

TPersistanceParametresApplicatif::~TPersistanceParametresApplicatif() { SetAvecServiceOvalisSurveillance(false); }

bool TPersistanceParametresApplicatif::ObtenirInterface(REFIID iid, void** resultat) {
  // The shared form also answers for the plain one it extends.
  if (IsEqualGUID(iid, __uuidof(IPersistanceParametresApplicatif))) {
    *resultat = static_cast<IPersistanceParametresApplicatif*>(this);
    AddRef();
    return true;
  }
  return TImplemente::ObtenirInterface(iid, resultat);
}

std::wstring TPersistanceParametresApplicatif::NomFichierEffectif(const std::wstring& ANomFichier) {
  std::wstring nom;
  if (ANomFichier.empty())
    nom = ChangerExtension(CheminExecutable(), kExtension);
  else if (ANomFichier.back() == L'\\')
    nom = ANomFichier + ChangerExtension(NomDe(CheminExecutable()), kExtension);
  else
    nom = ANomFichier;
  // One full spelling: the mutex name is made from it.
  return TPath::Expand(nom);
}

std::wstring TPersistanceParametresApplicatif::NomFichierCorrompu() const {
  return ChangerExtension(FNomFichier, L".corrompu" + ExtensionDe(FNomFichier));
}

std::wstring TPersistanceParametresApplicatif::NomFichierSauvegarde(const SYSTEMTIME& date) const {
  const std::wstring extension = ExtensionDe(FNomFichier);
  return ChangerExtension(FNomFichier, L"") +
         Format(L"_%.4d_%.2d_%.2d_%.2d_%.2d", {date.wYear, date.wMonth, date.wDay, date.wHour, date.wMinute}) +
         extension;
}

void TPersistanceParametresApplicatif::InitialiserDocument(IXMLDOMDocument* ADocument) {
  AjouterDeclarationXml(ADocument);
  AjouterElement(ADocument, ADocument, kRacine);
}

TRef<IXMLDOMElement> TPersistanceParametresApplicatif::GetNodeRoot() { return ElementRacine(FDocument.Get()); }

TypeVersion TPersistanceParametresApplicatif::GetVersion() {
  TypeVersion version;
  std::wstring texte;
  const auto racine = GetNodeRoot();
  if (!racine || !LireAttribut(racine.Get(), kAttributVersion, texte) || texte.empty()) return version;
  for (const std::wstring& partie : Decouper(texte, L'.')) {
    const bool decimal = !partie.empty() && partie.size() <= 9 &&
                         partie.find_first_not_of(L"0123456789") == std::wstring::npos;
    if (!decimal) throw EOvalis(Msg::NumerosVersionInvalides);
    version.Numeros.push_back(static_cast<uint32_t>(std::stoul(partie)));
  }
  return version;
}

void TPersistanceParametresApplicatif::LireFichier() {
  FDocument = NouveauDocumentXml();
  const auto verrou = FMutex.Prendre();
  FCorrompu = FichierExiste(NomFichierCorrompu());
  FDateFichier = 0;
  if (!FichierExiste(FNomFichier)) {
    InitialiserDocument(FDocument.Get());
    return;
  }
  try {
    const std::string contenu = LireFichierPartage(FNomFichier, 5);
    std::wstring raison;
    if (!ChargerDocumentXml(FDocument.Get(), contenu, raison)) throw EOvalis(Msg::ErreurLectureFichierXml);
    FDateFichier = DateModificationFichier(FNomFichier);
    const auto racine = GetNodeRoot();
    if (!racine || !MemeTexteSansCasse(NomNoeud(racine.Get()), kRacine)) throw EOvalis(Msg::RootInvalide);
  } catch (const std::exception& e) {
    MettreDeCote(MessageDe(e));
  }
}

void TPersistanceParametresApplicatif::MettreDeCote(const std::wstring& ARaison) {
  const std::wstring corrompu = NomFichierCorrompu();
  const std::wstring raison = NomFichierRaisonCorruption();
  // The reason of an older corruption goes with its copy.
  DeleteFileW(corrompu.c_str());
  DeleteFileW(raison.c_str());
  if (MoveFileExW(FNomFichier.c_str(), corrompu.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    try {
      EcrireFichierParRemplacement(raison, "\xEF\xBB\xBF" + VersUtf8(ARaison));
    } catch (const std::exception&) {
      // The reason is a help for whoever looks at the copy; the copy itself is what counts.
    }
  }
  // The file is gone (or could not be moved): its date is no reference for later writes.
  FDateFichier = 0;
  FDocument = NouveauDocumentXml();
  InitialiserDocument(FDocument.Get());
  FCorrompu = true;
}

bool TPersistanceParametresApplicatif::ModifieAilleurs() {
  const uint64_t date = DateModificationFichier(FNomFichier);
  if (date == FDateFichier) return false;
  FDateFichier = date;
  return true;
}

bool TPersistanceParametresApplicatif::EcrireFichier() {
  auto racine = GetNodeRoot();
  if (!racine) racine = AjouterElement(FDocument.Get(), FDocument.Get(), kRacine);
  EcrireAttribut(racine.Get(), kAttributVersion, FVersionFormat);
  const std::string contenu = SerialiserDocumentXml(FDocument.Get());
  const TRef<ITraitementModifExternePersistanceApplicatif> traitement = FTraitementModifExterne;
  bool ecrit = false;
  {
    const auto verrou = FMutex.Prendre();
    // A writer that died holding the lock may have replaced the file within the same tick of
    // its date: the file is read again rather than overwritten.
    const bool modifie = traitement && (ModifieAilleurs() || verrou.Abandonne());
    if (!modifie) {
      CreerDossierEtParents(DossierDe(FNomFichier));
      EcrireFichierParRemplacement(FNomFichier, contenu);
      FDateFichier = DateModificationFichier(FNomFichier);
      ecrit = true;
    }
  }
  if (!ecrit) {
    // The lock is not held while the handler runs: it may read the file again at once.
    traitement->SurModificationExterne(this, true);
    return false;
  }
  if (FModele) FModele->SurEcritureDocument(FDocument.Get());
  return true;
}

void TPersistanceParametresApplicatif::VerifierModifExterne() {
  const TRef<ITraitementModifExternePersistanceApplicatif> traitement = FTraitementModifExterne;
  if (traitement && ModifieAilleurs()) traitement->SurModificationExterne(this, false);
}

TRef<IXMLDOMDocument> TPersistanceParametresApplicatif::DocumentModele() {
  if (!FDocumentModeleDemande && FModele) {
    FDocumentModeleDemande = true;
    FDocumentModele = FModele->GetDocumentModele();
  }
  return FDocumentModele;
}

bool TPersistanceParametresApplicatif::AtteindreNoeud(const std::wstring& aNom, TRef<IXMLDOMElement>& aNoeud,
                                                      bool& aModele, int& aVersion) {
  aModele = false;
  aNoeud = EnfantElement(GetNodeRoot().Get(), aNom);
  if (!aNoeud) {
    if (const auto modele = DocumentModele()) {
      aNoeud = EnfantElement(ElementRacine(modele.Get()).Get(), aNom);
      aModele = static_cast<bool>(aNoeud);
    }
  }
  if (!aNoeud) return false;
  aVersion = VersionBloc(aNoeud.Get());
  return true;
}

TRef<IXMLDOMElement> TPersistanceParametresApplicatif::AjouterNoeud(const std::wstring& aNom, int aVersion,
                                                                    bool aRecreer) {
  auto racine = GetNodeRoot();
  if (!racine) racine = AjouterElement(FDocument.Get(), FDocument.Get(), kRacine);
  auto bloc = EnfantElement(racine.Get(), aNom);
  if (bloc && aRecreer) {
    SupprimerEnfant(racine.Get(), bloc.Get());
    bloc = nullptr;
  }
  if (!bloc) bloc = AjouterElement(FDocument.Get(), racine.Get(), aNom);
  if (aVersion != 0) EcrireAttribut(bloc.Get(), kAttributVersion, std::to_wstring(aVersion));
  return bloc;
}

void TPersistanceParametresApplicatif::ReInitialiserDocument(bool AConserverAncienFichier) {
  if (AConserverAncienFichier) {
    SYSTEMTIME maintenant;
    GetLocalTime(&maintenant);
    const auto verrou = FMutex.Prendre();
    // A backup of the same minute is kept as it is.
    CopyFileW(FNomFichier.c_str(), NomFichierSauvegarde(maintenant).c_str(), TRUE);
  }
  FDocument = NouveauDocumentXml();
  InitialiserDocument(FDocument.Get());
  EcrireFichier();
}

void TPersistanceParametresApplicatif::EffacerCorruption() {
  DeleteFileW(NomFichierCorrompu().c_str());
  DeleteFileW(NomFichierRaisonCorruption().c_str());
  FCorrompu = false;
}

void TPersistanceParametresApplicatif::SetAvecServiceOvalisSurveillance(bool AAvecServiceOvalis) {
  if (AAvecServiceOvalis == static_cast<bool>(FSurveillance)) return;
  if (AAvecServiceOvalis) {
    const auto traitement = NouvelObjet<TTraitementModifExternePersistanceApplicatif>(this);
    FSurveillance =
        NouvelObjet<TSurveillantModificationFichier>(FNomFichier, NotificationDerniereEcriture, traitement);
    TServicesApplication::Ajouter(FSurveillance.Get(), dsiIdle, psiIndifferent, true);
  } else {
    const auto surveillance = std::move(FSurveillance);
    surveillance->SetActif(false);
    surveillance->DetacherTraitement();
    TServicesApplication::Enlever(surveillance.Get());
  }
}

}  // namespace norvel
