#pragma once
// What the journal says of each HTTP request: method, address without secrets, proxy, status,
// bytes received and duration, or the error that ended it.
#include <cstdint>
#include <string>

namespace norvel {

// "https://server:port/path?query", the values of query parameters whose name suggests a key,
// a token or a password replaced by "***".
std::wstring UrlPourJournal(bool https, const std::wstring& serveur, uint16_t port, const std::wstring& paramUrl);

struct TypeBilanRequeteHttp {
  std::wstring Methode;
  std::wstring Url;    // as UrlPourJournal gives it
  std::wstring Proxy;  // empty: direct
  std::wstring Statut;
  uint64_t Octets = 0;
  uint64_t DureeMs = 0;
  std::wstring Erreur;  // empty: the exchange went to its end
};

std::wstring LigneBilanRequeteHttp(const TypeBilanRequeteHttp& bilan);
void JournaliserRequeteHttp(const TypeBilanRequeteHttp& bilan) noexcept;

}  // namespace norvel
