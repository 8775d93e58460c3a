#pragma once
// The login dialog: a login and a password, both required, for a proxy that asks for
// credentials (or any other use of the same question).
#include <memory>
#include <string>

#include "ui/Composants.h"
#include "ui/FicheModale.h"

namespace norvel {

class TDlgVerificationMDPFmx : public TFicheModale {
 public:
  // Asks in a modal dialog above the main form. The title defaults to "Identification"; the
  // explanation, when given, is shown above the boxes; an initial login fills the login box
  // and puts the focus in the password box. True when the user validated: the login and the
  // password are then what was typed, untrimmed.
  static bool SaisieSimple(const std::wstring& titre, const std::wstring& explication,
                           const std::wstring& loginInitial, std::wstring& login, std::wstring& motDePasse);

  explicit TDlgVerificationMDPFmx(const TFenetreProgramme* proprietaire);
  // The password box is emptied first: a dialog never goes with a password in it.
  ~TDlgVerificationMDPFmx() override;

  // Shows the explanation when there is one, and the login box and its caption or not.
  void ConfigureAffichage(bool avecLogin, const std::wstring& explication);
  std::wstring Login() const;

 protected:
  void AvantAffichage() override { FormShow(); }
  void Commande(int identifiant, int notification) override;
  int BoutonParDefaut() const override;
  void EchelleChangee() override { Disposer(); }

 private:
  void FormCreate();
  void FormShow();
  void EditUserNameKeyDown(WORD touche);
  void EditMotDePasseKeyDown(WORD touche);
  void BtnValiderClick();
  void BtnAnnulerClick() {}
  // Stacks the visible controls from the top and fits the form's height to them.
  void Disposer();
  static LRESULT CALLBACK SousClasseSaisie(HWND saisie, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                           DWORD_PTR donnees);

  HWND FLabelExplication = nullptr;
  HWND FLUserName = nullptr;
  HWND FEditUserName = nullptr;
  HWND FLPwd = nullptr;
  HWND FEditMotDePasse = nullptr;
  std::unique_ptr<TPanneau> FPanelBoutons;
  HWND FBtnAnnuler = nullptr;
  HWND FBtnValider = nullptr;
  // The box to focus when the form is shown; cleared once used.
  HWND FEditInitial = nullptr;
};

}  // namespace norvel
