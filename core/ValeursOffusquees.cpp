#include "core/ValeursOffusquees.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <array>

#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/TexteEnClair.h"
#include "core/Hexadecimal.h"
#include "core/Messages.h"

namespace norvel::offuscation {
namespace {

// Starting values of the keystream's four registers. They are part of the stored format:
// every configuration file and every built-in value depends on them. Never change them.
constexpr uint16_t DepartA = 0x6A09;
constexpr uint16_t DepartB = 0xBB67;
constexpr uint16_t DepartC = 0x3C6E;
constexpr uint16_t DepartD = 0xA54F;

constexpr size_t TailleGraine = 4;
constexpr size_t TailleBloc = 16;
constexpr size_t TailleTable = 146;
constexpr size_t ChiffresCode = 8;

using TypeGraine = std::array<uint8_t, TailleGraine>;

class TFluxOffuscation {
 public:
  explicit TFluxOffuscation(const TypeGraine& graine) {
    for (const uint8_t c : graine) {
      FA = static_cast<uint16_t>(Pas(FA, FC, FK1) + c);
      FB = static_cast<uint16_t>(Pas(FA, FD, FK1) + c);
      FC = static_cast<uint16_t>(Pas(FB, FC, FK1) + c);
      FD = static_cast<uint16_t>(Pas(FB, FD, FK1) + c);
    }
    for (auto& mot : FTable) mot = Pas(FA, FC, FK1);
  }

  // XORs the next bytes of the stream into the buffer.
  void Appliquer(uint8_t* octets, size_t nombre) {
    for (size_t i = 0; i < nombre; i += 2) {
      const uint16_t mot = MotSuivant();
      octets[i] ^= static_cast<uint8_t>(mot);
      if (i + 1 < nombre) octets[i + 1] ^= static_cast<uint8_t>(mot >> 8);
    }
  }

 private:
  // x takes y; y takes the byte-swapped sum x + y + k; k counts the steps.
  static uint16_t Pas(uint16_t& x, uint16_t& y, uint16_t& k) {
    const uint16_t t = static_cast<uint16_t>(x + y + k);
    ++k;
    x = y;
    y = static_cast<uint16_t>(t >> 8 | t << 8);
    return y;
  }

  uint16_t MotSuivant() {
    const size_t i = Pas(FB, FD, FK2) % TailleTable;
    const uint16_t mot = FTable[i];
    FTable[i] = Pas(FA, FC, FK1);
    return mot;
  }

  uint16_t FA = DepartA, FB = DepartB, FC = DepartC, FD = DepartD;
  uint16_t FK1 = 0, FK2 = 1;
  std::array<uint16_t, TailleTable> FTable{};
};

TypeGraine NouvelleGraine() {
  TypeGraine graine;
  const NTSTATUS statut =
      BCryptGenRandom(nullptr, graine.data(), static_cast<ULONG>(graine.size()), BCRYPT_USE_SYSTEM_PREFERRED_RNG);
  if (!BCRYPT_SUCCESS(statut)) throw ErreurSystemeCode(static_cast<DWORD>(statut), Msg::ErreurInterne, L"BCryptGenRandom");
  return graine;
}

[[noreturn]] void EchecDesoffuscation() { throw EOvalis(Msg::ErreurDesoffuscation); }

}  // namespace

std::vector<uint8_t> Offusquer(std::wstring_view clair) {
  std::string utf8 = VersUtf8(clair);
  const TEffaceur effaceurUtf8{utf8};
  const size_t longueurClaire = utf8.size();
  const size_t longueurRemplie = (longueurClaire | (TailleBloc - 1)) + 1;
  const uint8_t remplissage = static_cast<uint8_t>(longueurRemplie - longueurClaire);

  const TypeGraine graine = NouvelleGraine();
  std::vector<uint8_t> valeur(graine.begin(), graine.end());
  valeur.resize(TailleGraine + longueurRemplie, remplissage);
  std::copy(utf8.begin(), utf8.end(), valeur.begin() + TailleGraine);
  TFluxOffuscation(graine).Appliquer(valeur.data() + TailleGraine, longueurRemplie);
  return valeur;
}

std::wstring Desoffusquer(const std::vector<uint8_t>& valeur) {
  if (valeur.empty()) return {};
  if (valeur.size() <= TailleGraine || (valeur.size() - TailleGraine) % TailleBloc != 0) EchecDesoffuscation();
  TypeGraine graine;
  std::copy_n(valeur.begin(), TailleGraine, graine.begin());
  std::vector<uint8_t> contenu(valeur.begin() + TailleGraine, valeur.end());
  const TEffaceur effaceurContenu{contenu};
  TFluxOffuscation(graine).Appliquer(contenu.data(), contenu.size());

  const uint8_t remplissage = contenu.back();
  if (remplissage < 1 || remplissage > TailleBloc) EchecDesoffuscation();
  for (size_t i = contenu.size() - remplissage; i < contenu.size(); ++i)
    if (contenu[i] != remplissage) EchecDesoffuscation();

  const int longueur = static_cast<int>(contenu.size() - remplissage);
  if (longueur == 0) return {};
  const char* debut = reinterpret_cast<const char*>(contenu.data());
  // Bytes that are not UTF-8 mean a damaged value, not a text to guess at.
  const int taille = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, debut, longueur, nullptr, 0);
  if (taille <= 0) EchecDesoffuscation();
  std::wstring clair(taille, L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, debut, longueur, clair.data(), taille);
  return clair;
}

std::wstring FormeTexte(const std::vector<uint8_t>& valeur, TypeModeComparaison mode) {
  const uint32_t code = mode.Code();
  const uint8_t octetsCode[] = {static_cast<uint8_t>(code), static_cast<uint8_t>(code >> 8),
                                static_cast<uint8_t>(code >> 16), static_cast<uint8_t>(code >> 24)};
  return EnHexadecimal(valeur) + EnHexadecimal(octetsCode, sizeof octetsCode);
}

void LireFormeTexte(std::wstring_view texte, std::vector<uint8_t>& valeur, TypeModeComparaison& mode) {
  auto octets = texte.size() >= ChiffresCode ? DepuisHexadecimal(texte) : std::nullopt;
  if (!octets) throw EOvalis(Msg::ValeurHexadecimaleIncorrecte);
  const size_t debutCode = octets->size() - ChiffresCode / 2;
  uint32_t code = 0;
  for (size_t i = 0; i < ChiffresCode / 2; ++i) code |= static_cast<uint32_t>((*octets)[debutCode + i]) << (8 * i);
  octets->resize(debutCode);
  valeur = std::move(*octets);
  mode = TypeModeComparaison::DepuisCode(code);
}

namespace {

int ComparerClairs(std::wstring_view gauche, std::wstring_view droite, TypeModeComparaison mode) {
  const DWORD flags = (mode.IgnorerCasse ? NORM_IGNORECASE : 0) | (mode.IgnorerAccents ? NORM_IGNORENONSPACE : 0);
  // The LCID form: Wine refuses LOCALE_NAME_SYSTEM_DEFAULT in CompareStringEx.
  const int resultat = CompareStringW(LOCALE_SYSTEM_DEFAULT, flags, gauche.data(), static_cast<int>(gauche.size()),
                                      droite.data(), static_cast<int>(droite.size()));
  if (resultat == 0) throw ErreurSysteme(L"CompareStringW");
  return resultat - CSTR_EQUAL;
}

}  // namespace

int Comparer(const std::vector<uint8_t>& gauche, const std::vector<uint8_t>& droite, TypeModeComparaison mode) {
  if (gauche == droite) return 0;
  std::wstring clairGauche = Desoffusquer(gauche);
  const TEffaceur effaceurGauche{clairGauche};
  std::wstring clairDroite = Desoffusquer(droite);
  const TEffaceur effaceurDroite{clairDroite};
  return ComparerClairs(clairGauche, clairDroite, mode);
}

int ComparerAuClair(const std::vector<uint8_t>& valeur, std::wstring_view clair, TypeModeComparaison mode) {
  std::wstring clairValeur = Desoffusquer(valeur);
  const TEffaceur effaceur{clairValeur};
  return ComparerClairs(clairValeur, clair, mode);
}

}  // namespace norvel::offuscation
