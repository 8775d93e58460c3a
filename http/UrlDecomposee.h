#pragma once
// A URL taken apart for the requests, which are built from a server, a port, the HTTPS flag
// and an object name (ParamUrl then ExtraInfo), and put back together. WinHTTP's parser
// and composer do the work; the scheme is kept as written so that a URL of another scheme
// (parsed as if it were http) comes back with its own scheme.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace norvel {

struct TypeUrlDecomposee {
  bool Https = false;
  std::wstring Protocole;  // "http", "https", another scheme, or empty when the URL had none
  std::wstring NomServeur;
  uint16_t PortTcp = 0;  // the scheme's default when the URL gives none
  std::wstring Identifiant;
  std::wstring MotDePasse;
  std::wstring ParamUrl;   // path, from its "/"
  std::wstring ExtraInfo;  // query and fragment, from their "?" or "#"

  // Raises EExceptionWinhttp naming "WinHttpCrackUrl" when the text is not a URL.
  static TypeUrlDecomposee Create(std::wstring_view urlComplete);

  // False when the text is not a URL; the fields are then meaningless.
  bool TrySetUrlComplete(std::wstring_view url);
  bool TryGetUrlComplete(std::wstring& url) const;
  // Raises EExceptionWinhttp naming "WinHttpCreateUrl".
  std::wstring GetUrlComplete() const;

  // "Authorization: Basic " and the user name and password of the URL in the system's ANSI
  // code page, in Base64; empty without a user name.
  std::wstring AuthentificationBasique() const;

  // The query's parameters, undecoded, in order (empty ones included); the list, when given,
  // is emptied first. 0 without a query.
  int ExtraireListeParametres(std::vector<std::wstring>* parametres = nullptr) const;

 private:
  // 0, or the error code of the failed WinHTTP call.
  unsigned long Decomposer(std::wstring_view url);
  unsigned long Composer(std::wstring& url) const;
};

}  // namespace norvel
