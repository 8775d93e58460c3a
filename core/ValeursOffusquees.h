#pragma once
// Logins and passwords held scrambled, in memory and in files, so that they never sit in clear
// in a long-lived structure or a memory dump. Obfuscation, not encryption: the key is in the
// program. The clear text exists only in the temporaries that GetValeur returns.
//
// ValeurOffusquee: a 4-byte random seed (little-endian), then the UTF-8 bytes of the trimmed
// text padded to a multiple of 16 (each of the P padding bytes, 1 to 16, worth P), XORed with
// a keystream drawn from the seed. An empty array is the absent value of a zero-filled record:
// it reads as the empty text.
// Text form: the bytes in upper-case hexadecimal, then the comparison code as 4 little-endian
// bytes (bit 0 ignore case, bit 1 ignore accents): a login ends in "01000000".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Chaines.h"

namespace norvel {

struct TypeModeComparaison {
  bool IgnorerCasse = false;
  bool IgnorerAccents = false;  // non-spacing characters

  uint32_t Code() const { return (IgnorerCasse ? 1u : 0u) | (IgnorerAccents ? 2u : 0u); }
  static TypeModeComparaison DepuisCode(uint32_t code) { return {(code & 1) != 0, (code & 2) != 0}; }
  TypeModeComparaison operator|(TypeModeComparaison autre) const {
    return {IgnorerCasse || autre.IgnorerCasse, IgnorerAccents || autre.IgnorerAccents};
  }
  bool operator==(const TypeModeComparaison&) const = default;
};

namespace offuscation {
std::vector<uint8_t> Offusquer(std::wstring_view clair);
// Raises "Erreur de déssoffuscation." when the bytes do not decode.
std::wstring Desoffusquer(const std::vector<uint8_t>& valeur);
std::wstring FormeTexte(const std::vector<uint8_t>& valeur, TypeModeComparaison mode);
// Raises "Valeur héxadécimale incorrecte".
void LireFormeTexte(std::wstring_view texte, std::vector<uint8_t>& valeur, TypeModeComparaison& mode);
// -1, 0 or 1 with the system locale's comparison.
int Comparer(const std::vector<uint8_t>& gauche, const std::vector<uint8_t>& droite, TypeModeComparaison mode);
int ComparerAuClair(const std::vector<uint8_t>& valeur, std::wstring_view clair, TypeModeComparaison mode);
}  // namespace offuscation

// One type per kind of credential; they differ by their comparison mode only.
template <class TGenre>
struct TValeurOffusquee {
  std::vector<uint8_t> ValeurOffusquee;
  TypeModeComparaison ModeComparaison = TGenre::ModeParDefaut;

  // Trims the text (blanks and control characters at both ends) and scrambles it with a new seed.
  static TValeurOffusquee Create(std::wstring_view valeur) {
    return {offuscation::Offusquer(TrimVue(valeur)), TGenre::ModeParDefaut};
  }
  static TValeurOffusquee CreateHexa(std::wstring_view valeurHexa) {
    TValeurOffusquee v;
    offuscation::LireFormeTexte(valeurHexa, v.ValeurOffusquee, v.ModeComparaison);
    return v;
  }

  std::wstring GetValeur() const { return offuscation::Desoffusquer(ValeurOffusquee); }
  std::wstring GetValeurHexa() const { return offuscation::FormeTexte(ValeurOffusquee, ModeComparaison); }
  bool EstAbsente() const { return ValeurOffusquee.empty(); }

  // Scrambled twice, a text gives different bytes: compare through these, never the bytes.
  static int Comparer(const TValeurOffusquee& gauche, const TValeurOffusquee& droite) {
    return Comparer(gauche, droite, gauche.ModeComparaison | droite.ModeComparaison);
  }
  static int Comparer(const TValeurOffusquee& gauche, const TValeurOffusquee& droite, TypeModeComparaison mode) {
    return offuscation::Comparer(gauche.ValeurOffusquee, droite.ValeurOffusquee, mode);
  }
  bool MemeValeurQue(const TValeurOffusquee& autre) const { return Comparer(*this, autre) == 0; }
  bool MemeValeurQue(std::wstring_view enClair) const {
    return offuscation::ComparerAuClair(ValeurOffusquee, TrimVue(enClair), ModeComparaison) == 0;
  }

  TValeurOffusquee Dupliquer() const { return *this; }
};

struct TGenreLogin {
  static constexpr TypeModeComparaison ModeParDefaut{true, false};
};
struct TGenreMotDePasse {
  static constexpr TypeModeComparaison ModeParDefaut{false, false};
};
using TypeLoginOffusque = TValeurOffusquee<TGenreLogin>;
using TypeMotDePasseOffusque = TValeurOffusquee<TGenreMotDePasse>;

}  // namespace norvel
