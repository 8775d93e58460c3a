#pragma once
// Version numbers, most significant first: 1.9 is [1, 9]; the empty version is valid.
#include <cstdint>
#include <initializer_list>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace norvel {

struct TypeVersion {
  std::vector<uint32_t> Numeros;

  bool Vide() const { return Numeros.empty(); }
};

TypeVersion VersionDepuisNumeros(std::initializer_list<uint32_t> numeros);
TypeVersion VersionDepuisNumeros(std::vector<uint32_t> numeros);

// The first `longueur` numbers; with `exacte`, padded with zeros to exactly that many.
TypeVersion VersionTronquee(const TypeVersion& version, size_t longueur, bool exacte);
// The number at a position counted from 0; 0 beyond the end.
uint32_t NumeroVersion(const TypeVersion& version, size_t position);
inline uint32_t NumeroMajeur(const TypeVersion& version) { return NumeroVersion(version, 0); }
// [1, 9, 0, 0] becomes [1, 9]; [0, 0] becomes [].
TypeVersion SupprimerZerosFinaux(TypeVersion version);
// True when the first numbers of `version`, cut or padded with zeros to the prefix's length,
// equal the prefix.
bool VersionCommencePar(const TypeVersion& version, const TypeVersion& prefixe);
// [major, minor / 256]: the two numbers of versioned folder names.
TypeVersion VersionMajeureMineureDossier(const TypeVersion& version);

// Decimal numbers from `positionDebut` on, joined by the separator.
std::wstring VersionEnTexte(const TypeVersion& version, std::wstring_view separateur = L".",
                            size_t positionDebut = 0);
// Every run of decimal digits is one number, anything else separates ("10,4 (build 2)" is
// [10, 4, 2]). A run of more than 9 digits makes the text invalid.
bool TexteEnVersion(std::wstring_view texte, TypeVersion& version);
// The same, raising "Numéros de version invalides." on an invalid text.
TypeVersion TexteEnVersionOuErreur(std::wstring_view texte);

// -1, 0 or 1: numbers compared as unsigned values in order; a version that is a prefix of the
// other is the smaller (1.9 < 1.9.0).
int ComparerVersions(const TypeVersion& a, const TypeVersion& b);
inline bool operator==(const TypeVersion& a, const TypeVersion& b) { return ComparerVersions(a, b) == 0; }
inline bool operator!=(const TypeVersion& a, const TypeVersion& b) { return ComparerVersions(a, b) != 0; }
inline bool operator<(const TypeVersion& a, const TypeVersion& b) { return ComparerVersions(a, b) < 0; }
inline bool operator<=(const TypeVersion& a, const TypeVersion& b) { return ComparerVersions(a, b) <= 0; }
inline bool operator>(const TypeVersion& a, const TypeVersion& b) { return ComparerVersions(a, b) > 0; }
inline bool operator>=(const TypeVersion& a, const TypeVersion& b) { return ComparerVersions(a, b) >= 0; }

// The comparison as a comparator object (ordered containers, sorting).
struct TComparerVersion {
  static int ComparerVersion(const TypeVersion& a, const TypeVersion& b) { return ComparerVersions(a, b); }
  static TComparerVersion GetComparateur() { return {}; }
  bool operator()(const TypeVersion& a, const TypeVersion& b) const { return ComparerVersions(a, b) < 0; }
};

// Byte form: one byte per number when the first is below 255 and the others at most 255;
// otherwise 255 then each number on 4 bytes, most significant first. No bytes: empty version.
std::vector<uint8_t> VersionEnOctets(const TypeVersion& version);
// Raises "Numéros de version invalides." when the 4-byte form is not a whole number of numbers.
TypeVersion OctetsEnVersion(std::span<const uint8_t> octets);

// Stream form: the count of numbers, then each number, as 32-bit little-endian values.
void EcrireVersion(std::ostream& flux, const TypeVersion& version);
// Raises "Numéros de version invalides." on a truncated stream.
TypeVersion LireVersion(std::istream& flux);

// The file version of an executable: [1, 9] for a version resource that says 1.9.0.0. Raises
// "Impossible de lire les informations de version du fichier %s..." when it has none.
TypeVersion VersionFichier(const std::wstring& nomFichier);

}  // namespace norvel
