#pragma once
// Parameter files shared between the processes of the machine: one ".xcfg" XML file per
// parameter set, loaded into a document, written back under a machine-wide lock, set aside
// when corrupt, and checked for changes made by other processes.
#include <msxml2.h>

#include <cstdint>
#include <exception>
#include <string>

#include "platform/DossierSpecial.h"
#include "platform/MutexFichierPartage.h"
#include "platform/Version.h"
#include "core/ObjetInterfacable.h"

namespace norvel {

struct IPersistanceParametresApplicatif : IUnknown {
  virtual TRef<IXMLDOMDocument> GetDocument() = 0;
  // The root's "VERSION" split at "."; raises "Numéros de version invalides." for a part that
  // is no decimal number. No attribute: the empty version.
  virtual TypeVersion GetVersion() = 0;
  // A corrupt copy of the file was set aside.
  virtual bool GetCorrompu() = 0;
  // False when another process changed the file since it was read: it is then not written.
  virtual bool EcrireFichier() = 0;
  virtual void LireFichier() = 0;
  virtual TRef<IXMLDOMElement> GetNodeRoot() = 0;
  // A block of the document, else of the model; aVersion is its "VERSION", 1 when absent.
  virtual bool AtteindreNoeud(const std::wstring& aNom, TRef<IXMLDOMElement>& aNoeud, bool& aModele,
                              int& aVersion) = 0;
  // The block, created when missing (or recreated); aVersion 0 leaves its "VERSION" alone.
  virtual TRef<IXMLDOMElement> AjouterNoeud(const std::wstring& aNom, int aVersion, bool aRecreer) = 0;
  // An empty document, written at once; with AConserverAncienFichier the file is first copied
  // to a backup named after the date and time.
  virtual void ReInitialiserDocument(bool AConserverAncienFichier) = 0;
  virtual void EffacerCorruption() = 0;
  virtual TypeNiveauDossierSpecial GetNiveauDossierSpecial() = 0;
};

struct ITraitementModifExternePersistanceApplicatif;

struct IPersistanceParametresApplicatifPartages : IPersistanceParametresApplicatif {
  virtual TRef<ITraitementModifExternePersistanceApplicatif> GetTraitementModifExterne() = 0;
  virtual void SetTraitementModifExterne(ITraitementModifExternePersistanceApplicatif* ATraitement) = 0;
  virtual bool GetAvecServiceOvalisSurveillance() = 0;
  // Watches the file from the main loop's idle step and checks it on each change.
  virtual void SetAvecServiceOvalisSurveillance(bool AAvecServiceOvalis) = 0;
  virtual void VerifierModifExterne() = 0;
};

struct ITraitementModifExternePersistanceApplicatif : IUnknown {
  // Someone else changed the file of APersistance. AEcritureEnCours: found while writing (the
  // write did not happen); otherwise found by a check.
  virtual void SurModificationExterne(IPersistanceParametresApplicatif* APersistance, bool AEcritureEnCours) = 0;
};

// An optional provider of default blocks: told each written document, and asked once for the
// model document where missing blocks are looked up.
struct IModeleParametresApplicatif : IUnknown {
  virtual void SurEcritureDocument(IXMLDOMDocument* ADocument) = 0;
  virtual TRef<IXMLDOMDocument> GetDocumentModele() = 0;
};

}  // namespace norvel

NORVEL_GUID(norvel::IPersistanceParametresApplicatif, 0x82CD5F7D, 0x0452, 0x4735, 0xA5, 0x81, 0xB3, 0xFB, 0x05, 0x63,
            0x59, 0x9B)
NORVEL_GUID(norvel::IPersistanceParametresApplicatifPartages, 0x76CCBBE6, 0x85EA, 0x4B28, 0xBD, 0x3C, 0xFD, 0x97,
            0x54, 0x75, 0x3B, 0x9A)
NORVEL_GUID(norvel::ITraitementModifExternePersistanceApplicatif, 0xB2B39174, 0xD995, 0x49C5, 0xA1, 0x7D, 0x9C, 0x3D,
            0x13, 0x4D, 0x5C, 0x90)
NORVEL_GUID(norvel::IModeleParametresApplicatif, 0x5E0C2B71, 0x3A8D, 0x4F6E, 0x9B, 0x12, 0x6C, 0x4E, 0x8A, 0x0D, 0x27,
            0xF3)

namespace norvel {

struct IServiceOvalisSurveillantModificationFichier;

class TPersistanceParametresApplicatif
    : public TImplemente<TObjetInterfacable, IPersistanceParametresApplicatifPartages> {
 public:
  // ANomFichier: the file; a folder (ending with a backslash) holds "<program name>.xcfg"; empty
  // means the program's own path with the extension ".xcfg". AVersionFormat is written on the
  // root at every write. Reads the file at once.
  TPersistanceParametresApplicatif(const std::wstring& ANomFichier, std::wstring AVersionFormat,
                                   TRef<IModeleParametresApplicatif> AModele = nullptr);
  ~TPersistanceParametresApplicatif() override;

  TRef<IXMLDOMDocument> GetDocument() override { return FDocument; }
  TypeVersion GetVersion() override;
  bool GetCorrompu() override { return FCorrompu; }
  bool EcrireFichier() override;
  void LireFichier() override;
  TRef<IXMLDOMElement> GetNodeRoot() override;
  bool AtteindreNoeud(const std::wstring& aNom, TRef<IXMLDOMElement>& aNoeud, bool& aModele, int& aVersion) override;
  TRef<IXMLDOMElement> AjouterNoeud(const std::wstring& aNom, int aVersion, bool aRecreer) override;
  void ReInitialiserDocument(bool AConserverAncienFichier) override;
  void EffacerCorruption() override;
  TypeNiveauDossierSpecial GetNiveauDossierSpecial() override { return FNiveauDossierSpecial; }

  TRef<ITraitementModifExternePersistanceApplicatif> GetTraitementModifExterne() override {
    return FTraitementModifExterne;
  }
  void SetTraitementModifExterne(ITraitementModifExternePersistanceApplicatif* ATraitement) override {
    FTraitementModifExterne = ATraitement;
  }
  bool GetAvecServiceOvalisSurveillance() override { return static_cast<bool>(FSurveillance); }
  void SetAvecServiceOvalisSurveillance(bool AAvecServiceOvalis) override;
  void VerifierModifExterne() override;

  void SetNiveauDossierSpecial(TypeNiveauDossierSpecial ANiveau) { FNiveauDossierSpecial = ANiveau; }
  const std::wstring& NomFichier() const { return FNomFichier; }
  // N.corrompu.E beside the file N.E, and its reason file.
  std::wstring NomFichierCorrompu() const;
  std::wstring NomFichierRaisonCorruption() const { return NomFichierCorrompu() + L".txt"; }
  // N_yyyy_mm_dd_hh_nn.E for the given local time.
  std::wstring NomFichierSauvegarde(const SYSTEMTIME& date) const;

 protected:
  bool ObtenirInterface(REFIID iid, void** resultat) override;

 private:
  static std::wstring NomFichierEffectif(const std::wstring& ANomFichier);
  static void InitialiserDocument(IXMLDOMDocument* ADocument);
  void MettreDeCote(const std::wstring& ARaison);
  // The date of the file changed since it was last read or written (the new date is kept).
  bool ModifieAilleurs();
  TRef<IXMLDOMDocument> DocumentModele();

  TRef<IModeleParametresApplicatif> FModele;
  TypeNiveauDossierSpecial FNiveauDossierSpecial = NDS_Societe;
  TRef<IXMLDOMDocument> FDocument;
  TRef<IXMLDOMDocument> FDocumentModele;
  bool FDocumentModeleDemande = false;
  std::wstring FNomFichier;
  std::wstring FVersionFormat;
  TMutexFichierPartage FMutex;
  TRef<ITraitementModifExternePersistanceApplicatif> FTraitementModifExterne;
  TRef<IServiceOvalisSurveillantModificationFichier> FSurveillance;
  uint64_t FDateFichier = 0;
  bool FCorrompu = false;
};

}  // namespace norvel
