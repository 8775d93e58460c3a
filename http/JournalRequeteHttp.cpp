#include "http/JournalRequeteHttp.h"

#include "core/Chaines.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "platform/Journal.h"

namespace norvel {

namespace {

// Words that, inside a parameter's name, make its value a secret for the journal.
constexpr const wchar_t* MotsSecrets[] = {L"key", L"cle", L"token", L"jeton", L"pass", L"pwd",
                                          L"mdp", L"secret", L"sig", L"auth", L"code"};

bool NomSecret(std::wstring_view nom) {
  const std::wstring minuscules = EnMinuscules(nom);
  for (const wchar_t* mot : MotsSecrets)
    if (minuscules.find(mot) != std::wstring::npos) return true;
  return false;
}

std::wstring RequeteSansSecrets(std::wstring_view requete) {
  std::wstring resultat;
  for (const std::wstring& parametre : Decouper(requete, L'&')) {
    if (!resultat.empty()) resultat += L'&';
    const size_t egal = parametre.find(L'=');
    if (egal != std::wstring::npos && NomSecret(std::wstring_view(parametre).substr(0, egal)))
      resultat += parametre.substr(0, egal + 1) + L"***";
    else
      resultat += parametre;
  }
  return resultat;
}

}  // namespace

std::wstring UrlPourJournal(bool https, const std::wstring& serveur, uint16_t port, const std::wstring& paramUrl) {
  std::wstring url = std::wstring(https ? L"https://" : L"http://") + serveur + L":" + std::to_wstring(port);
  const std::wstring_view param = std::wstring_view(paramUrl).substr(0, paramUrl.find(L'#'));
  const size_t interrogation = param.find(L'?');
  if (interrogation == std::wstring_view::npos) return url + std::wstring(param);
  return url + std::wstring(param.substr(0, interrogation + 1)) + RequeteSansSecrets(param.substr(interrogation + 1));
}

std::wstring LigneBilanRequeteHttp(const TypeBilanRequeteHttp& bilan) {
  const std::wstring route = bilan.Proxy.empty() ? std::wstring(Msg::JournalSansProxy)
                                                 : Format(Msg::JournalParProxy, {bilan.Proxy});
  if (!bilan.Erreur.empty())
    return Format(Msg::JournalRequeteEchec,
                  {bilan.Methode, bilan.Url, route, bilan.Statut.empty() ? L"-" : bilan.Statut, bilan.DureeMs, bilan.Erreur});
  return Format(Msg::JournalRequete, {bilan.Methode, bilan.Url, route, bilan.Statut, bilan.Octets, bilan.DureeMs});
}

void JournaliserRequeteHttp(const TypeBilanRequeteHttp& bilan) noexcept {
  try {
    Journaliser(LigneBilanRequeteHttp(bilan));
  } catch (...) {
  }
}

}  // namespace norvel
