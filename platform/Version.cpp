#include "platform/Version.h"

#include <windows.h>

#include <algorithm>

#include "core/ErreurSysteme.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"

namespace norvel {

namespace {

[[noreturn]] void NumerosInvalides() { throw EOvalis(Msg::NumerosVersionInvalides); }

}  // namespace

TypeVersion VersionDepuisNumeros(std::initializer_list<uint32_t> numeros) { return TypeVersion{numeros}; }
TypeVersion VersionDepuisNumeros(std::vector<uint32_t> numeros) { return TypeVersion{std::move(numeros)}; }

TypeVersion VersionTronquee(const TypeVersion& version, size_t longueur, bool exacte) {
  TypeVersion resultat = version;
  if (resultat.Numeros.size() > longueur || exacte) resultat.Numeros.resize(longueur, 0);
  return resultat;
}

uint32_t NumeroVersion(const TypeVersion& version, size_t position) {
  return position < version.Numeros.size() ? version.Numeros[position] : 0;
}

TypeVersion SupprimerZerosFinaux(TypeVersion version) {
  while (!version.Numeros.empty() && version.Numeros.back() == 0) version.Numeros.pop_back();
  return version;
}

bool VersionCommencePar(const TypeVersion& version, const TypeVersion& prefixe) {
  return VersionTronquee(version, prefixe.Numeros.size(), true).Numeros == prefixe.Numeros;
}

TypeVersion VersionMajeureMineureDossier(const TypeVersion& version) {
  return VersionDepuisNumeros({NumeroVersion(version, 0), NumeroVersion(version, 1) / 256});
}

std::wstring VersionEnTexte(const TypeVersion& version, std::wstring_view separateur, size_t positionDebut) {
  std::wstring texte;
  for (size_t i = positionDebut; i < version.Numeros.size(); ++i) {
    if (i > positionDebut) texte += separateur;
    texte += std::to_wstring(version.Numeros[i]);
  }
  return texte;
}

bool TexteEnVersion(std::wstring_view texte, TypeVersion& version) {
  // Nine digits at most: every such number fits in 32 bits.
  constexpr size_t ChiffresMax = 9;
  TypeVersion lue;
  size_t i = 0;
  while (i < texte.size()) {
    if (texte[i] < L'0' || texte[i] > L'9') {
      ++i;
      continue;
    }
    uint32_t numero = 0;
    size_t chiffres = 0;
    for (; i < texte.size() && texte[i] >= L'0' && texte[i] <= L'9'; ++i, ++chiffres) {
      if (chiffres == ChiffresMax) return false;
      numero = numero * 10 + static_cast<uint32_t>(texte[i] - L'0');
    }
    lue.Numeros.push_back(numero);
  }
  version = std::move(lue);
  return true;
}

TypeVersion TexteEnVersionOuErreur(std::wstring_view texte) {
  TypeVersion version;
  if (!TexteEnVersion(texte, version)) NumerosInvalides();
  return version;
}

int ComparerVersions(const TypeVersion& a, const TypeVersion& b) {
  const size_t commun = std::min(a.Numeros.size(), b.Numeros.size());
  for (size_t i = 0; i < commun; ++i)
    if (a.Numeros[i] != b.Numeros[i]) return a.Numeros[i] < b.Numeros[i] ? -1 : 1;
  if (a.Numeros.size() == b.Numeros.size()) return 0;
  return a.Numeros.size() < b.Numeros.size() ? -1 : 1;
}

std::vector<uint8_t> VersionEnOctets(const TypeVersion& version) {
  constexpr uint8_t MarqueQuatreOctets = 255;
  const auto& n = version.Numeros;
  if (n.empty()) return {};
  const bool unOctet =
      n[0] < MarqueQuatreOctets && std::all_of(n.begin() + 1, n.end(), [](uint32_t x) { return x <= 255; });
  std::vector<uint8_t> octets;
  if (unOctet) {
    for (uint32_t x : n) octets.push_back(static_cast<uint8_t>(x));
    return octets;
  }
  octets.push_back(MarqueQuatreOctets);
  for (uint32_t x : n)
    for (int decalage = 24; decalage >= 0; decalage -= 8) octets.push_back(static_cast<uint8_t>(x >> decalage));
  return octets;
}

TypeVersion OctetsEnVersion(std::span<const uint8_t> octets) {
  TypeVersion version;
  if (octets.empty()) return version;
  if (octets[0] != 255) {
    version.Numeros.assign(octets.begin(), octets.end());
    return version;
  }
  const auto reste = octets.subspan(1);
  if (reste.size() % 4 != 0) NumerosInvalides();
  for (size_t i = 0; i < reste.size(); i += 4)
    version.Numeros.push_back(uint32_t{reste[i]} << 24 | uint32_t{reste[i + 1]} << 16 | uint32_t{reste[i + 2]} << 8 |
                              uint32_t{reste[i + 3]});
  return version;
}

namespace {

void EcrireEntier(std::ostream& flux, uint32_t valeur) {
  const char octets[4] = {static_cast<char>(valeur), static_cast<char>(valeur >> 8), static_cast<char>(valeur >> 16),
                          static_cast<char>(valeur >> 24)};
  flux.write(octets, 4);
}

uint32_t LireEntier(std::istream& flux) {
  unsigned char octets[4];
  if (!flux.read(reinterpret_cast<char*>(octets), 4)) NumerosInvalides();
  return uint32_t{octets[0]} | uint32_t{octets[1]} << 8 | uint32_t{octets[2]} << 16 | uint32_t{octets[3]} << 24;
}

}  // namespace

void EcrireVersion(std::ostream& flux, const TypeVersion& version) {
  EcrireEntier(flux, static_cast<uint32_t>(version.Numeros.size()));
  for (uint32_t x : version.Numeros) EcrireEntier(flux, x);
}

TypeVersion LireVersion(std::istream& flux) {
  const uint32_t nombre = LireEntier(flux);
  TypeVersion version;
  // No reservation from the count: a damaged count must fail on the missing numbers, not
  // allocate gigabytes first.
  for (uint32_t i = 0; i < nombre; ++i) version.Numeros.push_back(LireEntier(flux));
  return version;
}

TypeVersion VersionFichier(const std::wstring& nomFichier) {
  auto echec = [&nomFichier]() -> EOvalis {
    DWORD code = GetLastError();
    // A call that fails without saying why still needs a meaningful code in the message.
    if (code == ERROR_SUCCESS) code = ERROR_RESOURCE_DATA_NOT_FOUND;
    return EOvalis(Format(Msg::LectureVersionFichierImpossible, {nomFichier, TexteErreurSysteme(code), code}));
  };
  DWORD inutilise = 0;
  const DWORD taille = GetFileVersionInfoSizeW(nomFichier.c_str(), &inutilise);
  if (taille == 0) throw echec();
  std::vector<uint8_t> informations(taille);
  if (!GetFileVersionInfoW(nomFichier.c_str(), 0, taille, informations.data())) throw echec();
  VS_FIXEDFILEINFO* fixe = nullptr;
  UINT tailleFixe = 0;
  SetLastError(ERROR_SUCCESS);
  if (!VerQueryValueW(informations.data(), L"\\", reinterpret_cast<void**>(&fixe), &tailleFixe) || !fixe ||
      tailleFixe < sizeof(VS_FIXEDFILEINFO))
    throw echec();
  return SupprimerZerosFinaux(VersionDepuisNumeros({HIWORD(fixe->dwFileVersionMS), LOWORD(fixe->dwFileVersionMS),
                                                    HIWORD(fixe->dwFileVersionLS), LOWORD(fixe->dwFileVersionLS)}));
}

}  // namespace norvel
