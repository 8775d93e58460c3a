#include "school/ApiRecuperationInfosHebNP.h"

#include <windows.h>

#include <nlohmann/json.hpp>

#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/Messages.h"
#include "core/TexteEnClair.h"
#include "http/EncodageUrl.h"
#include "http/ErreursHttp.h"
#include "http/RequeteHttp.h"
#include "http/UrlDecomposee.h"
#include "school/HotesNorvel.h"
#include "school/LectureJson.h"

namespace norvel {

namespace {

constexpr const wchar_t* TypeJson = L"application/json; charset=utf-8";
constexpr const wchar_t* TypeProbleme = L"application/problem+json; charset=utf-8";
// A school's record, or a problem, is a few KiB: anything much larger is no answer of the service.
constexpr size_t CorpsMax = 256 * 1024;

[[noreturn]] void LeverErreurHttp(const TRequeteHttp& requete) {
  const std::wstring statut = requete.StatutReponse();
  if (requete.TypeMimeReponse() != TypeProbleme) throw ErreurStatutHttp(statut, requete.StrStatutReponse());
  const std::wstring titre = TexteMembreJson(LireObjetJson(requete.Reponse()), "title");
  // A 400 is the service explaining what is wrong with the identifier: its words alone.
  if (statut == L"400") throw EOvalis(titre);
  throw ErreurStatutHttp(statut, titre);
}

void LireInfos(const std::string& reponse, TypeInfosHebNP& infos) {
  const nlohmann::json objet = LireObjetJson(reponse);
  // Every member is read before any conversion: a missing one is reported first.
  infos.NomDomaine = TexteMembreJson(objet, "nomDomaine");
  const std::wstring port = TexteMembreJson(objet, "portTcp");
  infos.MillesimeServeur = TexteMembreJson(objet, "millesimeServeur");
  infos.UrlTelechargementClient = TexteMembreJson(objet, "urlTelechargementClient");
  const std::wstring simulation = TexteMembreJson(objet, "simulation");
  infos.NomEcole = TexteMembreJson(objet, "nomEcole");
  infos.AdresseEcole = TexteMembreJson(objet, "adresseEcole");
  infos.CodePostalEcole = TexteMembreJson(objet, "codePostalEcole");
  infos.VilleEcole = TexteMembreJson(objet, "villeEcole");
  infos.PaysEcole = TexteMembreJson(objet, "paysEcole");
  const std::wstring serveurEnService = TexteMembreJson(objet, "serveurEnService");
  infos.UrlPortail = TexteMembreJson(objet, "urlPortail");

  // A port outside the 16-bit range would silently become another port: refused instead.
  const int32_t valeurPort = EntierDepuisTexte(port);
  if (valeurPort < 0 || valeurPort > 0xFFFF) throw EOvalis(Format(Msg::ValeurEntiereIncorrecte, {port}));
  infos.Port = static_cast<uint16_t>(valeurPort);
  infos.Simulation = BooleenDepuisTexte(simulation);
  infos.ServeurEnService = BooleenDepuisTexte(serveurEnService);
}

}  // namespace

TApiRecuperationInfosHebNP::TApiRecuperationInfosHebNP(TypeEnvironnementDeploiement AEnvironnementDeploiement,
                                                       TRef<IAttente> AAttente,
                                                       TRef<ISessionsClientsHttp> ASessionsHttp)
    : FEnvironnementDeploiement(AEnvironnementDeploiement),
      FAttente(std::move(AAttente)),
      FSessionsHttp(std::move(ASessionsHttp)) {}

void TApiRecuperationInfosHebNP::RecupererInfosHeb(const std::wstring& AIdentifiant, const std::wstring& APlateforme,
                                                   TypeInfosHebNP& AInfos) {
  AInfos = {};
  const TypePointAccesInfosHeb pointAcces = PointAccesInfosHeb(FEnvironnementDeploiement);
  // The identifier is what the user typed: encoded, it stays one path segment whatever it holds.
  const auto url = TypeUrlDecomposee::Create(pointAcces.UrlBase + EncoderPourUrl(AIdentifiant) +
                                             L"?plateforme=" + EncoderPourUrl(APlateforme));
  // The clear key lives in these texts only while the request runs.
  std::wstring cle = pointAcces.CleApi.GetValeur();
  const TEffaceur effacementCle{cle};
  std::wstring entete = L"x-api-key: " + cle;
  const TEffaceur effacementEntete{entete};

  TClientHttp client(FSessionsHttp->GetSessionAvecGestionProxy(), url.NomServeur, url.PortTcp);
  TRequeteHttp requete(client, FAttente.Get(), L"GET", url.ParamUrl + url.ExtraInfo, url.Https, false, L"HTTP/1.1");
  requete.AffecterTimeOuts(30000, 60000, 600000, 3600000);
  requete.LimiterCorpsEnMemoire(CorpsMax);
  requete.AffecterDelaiTotal(DelaiMaxRecuperationInfosHeb);
  requete.Executer({}, entete, true);

  if (requete.StatutReponse() != L"200") LeverErreurHttp(requete);
  if (const std::wstring type = requete.TypeMimeReponse(); type != TypeJson)
    throw EOvalis(Format(Msg::TypeMimeInvalide, {type}));
  // A failure half-way leaves the caller's record empty rather than half filled.
  TypeInfosHebNP infos;
  LireInfos(requete.Reponse(), infos);
  AInfos = std::move(infos);
}

}  // namespace norvel
