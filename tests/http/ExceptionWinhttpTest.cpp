#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <winhttp.h>

#include <functional>
#include <string>

#include "core/Chaines.h"
#include "core/ErreurSysteme.h"
#include "core/Messages.h"
#include "http/ConseilControleurDomaine.h"
#include "http/ErreursHttp.h"
#include "http/ExceptionWinhttp.h"
#include "http/WinhttpVerifie.h"

using namespace norvel;

namespace {

const std::wstring Base = L"Échec de la requête http";

// The text line a message must carry for a code: the platform's when it has one, ours otherwise.
std::wstring TexteAttendu(DWORD code, const wchar_t* texteDeSecours) {
  const std::wstring systeme = TexteSystemeWinhttp(code);
  return systeme.empty() ? std::wstring(texteDeSecours) : systeme;
}

// A TCP port of 127.0.0.1 on which nothing listens (bound, then released).
INTERNET_PORT PortFerme() {
  WSADATA wsa;
  EXPECT_EQ(0, WSAStartup(MAKEWORD(2, 2), &wsa));
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in adresse{};
  adresse.sin_family = AF_INET;
  adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_EQ(0, bind(s, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse));
  int longueur = sizeof adresse;
  EXPECT_EQ(0, getsockname(s, reinterpret_cast<sockaddr*>(&adresse), &longueur));
  closesocket(s);
  WSACleanup();
  return ntohs(adresse.sin_port);
}

struct TSessionTest {
  HINTERNET Handle;
  explicit TSessionTest(DWORD flags)
      : Handle(VerifWinHttpOpen(L"tests_http", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, flags)) {}
  ~TSessionTest() { WinHttpCloseHandle(Handle); }
};

}  // namespace

TEST(ExceptionWinhttp, MessageShapes) {
  struct Cas {
    DWORD code;
    const wchar_t* complInfo;
    std::wstring attendu;
  };
  const Cas cas[] = {
      {0, L"", Base},
      {0, L"WinHttpOpen", Base + L" (WinHttpOpen)"},
      {12153, L"WinHttpOpenRequest",
       Base + L" (WinHttpOpenRequest - 0x00002F79)\r\n" + TexteAttendu(12153, L"Entête HTTP invalide.")},
      {12178, L"WinHttpGetProxyForUrl",
       Base + L" (WinHttpGetProxyForUrl - 0x00002F92)\r\n" +
           TexteAttendu(12178, L"Auncun proxy n'a pu être localisé pour l'URL spécifiée.")},
      {12185, L"",
       Base + L" (0x00002F99)\r\n" +
           TexteAttendu(12185, L"Le contexte pour le certificat SSL client ne dispose pas d'une clé privée associée.")},
      {0x1234ABCD, L"", Base + L" (0x1234ABCD)\r\n" + TexteAttendu(0x1234ABCD, L"Erreur non précisée.")},
  };
  for (const auto& c : cas) {
    const EExceptionWinhttp e(c.code, c.complInfo);
    EXPECT_EQ(c.attendu, e.Message()) << c.code << " " << VersUtf8(c.complInfo);
    EXPECT_EQ(c.code, e.Code());
  }
}

TEST(ExceptionWinhttp, IsAGeneralException) {
  try {
    throw EExceptionWinhttp(12002, L"API_RECEIVE_RESPONSE");
  } catch (const EOvalis& e) {
    EXPECT_TRUE(CommencePar(e.Message(), Base + L" (API_RECEIVE_RESPONSE - 0x00002EE2)\r\n"));
  }
}

// A machine outside any domain has no domain controller to advise about.
TEST(ExceptionWinhttp, PrivateKeyOutOfReachOutsideADomainEndsAfterItsText) {
  const std::wstring attendu =
      Base + L" (WinHttpSendRequest - 0x00002F9A)\r\n" +
      TexteAttendu(12186,
                   L"L'application n'a pas les privilèges requis pour accéder à la clé privée associée au "
                   L"certificat client.");
  for (const bool sansMasterkey : {false, true}) {
    DefinirSourceSansMasterkeyDPAPI(sansMasterkey ? +[] { return true; } : +[] { return false; });
    EXPECT_EQ(attendu, EExceptionWinhttp(12186, L"WinHttpSendRequest").Message()) << sansMasterkey;
  }
  DefinirSourceSansMasterkeyDPAPI(nullptr);
  EXPECT_EQ(attendu, EExceptionWinhttp(12186, L"WinHttpSendRequest").Message());
}

TEST(ConseilControleurDomaine, OnlyForAReadOnlyController) {
  EXPECT_EQ(L"\r\nCe poste est connecté au contrôleur de domaine Windows \\\\DC-LECTURE qui est en lecture seule.\r\n"
            L"Nous vous invitons à exécuter le fichier REG \"ProtectionPolicy\" en lien ci-dessous et retenter "
            L"l'opération :\r\n"
            L"<a href=\"https://www.ovalis.fr/telechargements/ProtectionPolicy.zip\">ProtectionPolicy.zip</a>",
            ConseilPourControleurDomaine(L"\\\\DC-LECTURE", 0x20000000 /* DS_DNS_CONTROLLER_FLAG */));
  EXPECT_EQ(L"", ConseilPourControleurDomaine(L"\\\\DC-ECRITURE", 0x100 /* DS_WRITABLE_FLAG */));
  // Without DPAPI master keys the controller is not even looked for.
  EXPECT_EQ(L"", ConseilControleurDomaineLectureSeule(true));
}

TEST(ExceptionWinhttp, ConnectionRefusedKeepsTheSendErrorAndItsText) {
  const EExceptionWinhttp e(ERROR_WINHTTP_CANNOT_CONNECT, L"API_SEND_REQUEST");
  const std::wstring premiereLigne = Base + L" (API_SEND_REQUEST - 0x00002EFD)\r\n";
  ASSERT_TRUE(CommencePar(e.Message(), premiereLigne)) << e.what();
  const std::wstring texte = e.Message().substr(premiereLigne.size());
  const std::wstring systeme = TexteSystemeWinhttp(ERROR_WINHTTP_CANNOT_CONNECT);
  if (systeme.empty()) {
    EXPECT_EQ(L"Erreur non précisée.", texte);
    GTEST_SKIP() << "winhttp.dll has no message table here (Wine): the platform's own text for 12029 "
                    "cannot be checked";
  }
  EXPECT_EQ(systeme, texte);
}

// Every wrapper raises through the same check: the thread's last error, the function's name.
TEST(WinhttpVerifie, EachWrapperNamesItsFunctionAndKeepsTheError) {
  TSessionTest session(0);
  const HINTERNET invalide = nullptr;
  DWORD nombre = 0;
  char tampon[16];
  struct Cas {
    const wchar_t* complInfo;
    std::function<void()> appel;
  };
  const Cas cas[] = {
      {L"WinHttpConnect", [&] { VerifWinHttpConnect(invalide, L"localhost", 80, 0); }},
      {L"WinHttpOpenRequest",
       [&] { VerifWinHttpOpenRequest(invalide, L"GET", L"/", nullptr, nullptr, nullptr, 0); }},
      {L"WinHttpCloseHandle", [&] { VerifWinHttpCloseHandle(invalide); }},
      {L"WinHttpSetStatusCallback",
       [&] { VerifWinHttpSetStatusCallback(invalide, nullptr, WINHTTP_CALLBACK_FLAG_ALL_NOTIFICATIONS, 0); }},
      {L"WinHttpSetOption, 99999", [&] { VerifWinHttpSetOption(session.Handle, 99999, &nombre, sizeof nombre); }},
      {L"WinHttpSetTimeouts", [&] { VerifWinHttpSetTimeouts(session.Handle, -2, 0, 0, 0); }},
      {L"WinHttpSetCredentials",
       [&] { VerifWinHttpSetCredentials(invalide, WINHTTP_AUTH_TARGET_PROXY, 1, L"u", L"p", nullptr); }},
      {L"WinHttpSendRequest", [&] { VerifWinHttpSendRequest(invalide, nullptr, 0, nullptr, 0, 0, 0); }},
      {L"WinHttpReceiveResponse", [&] { VerifWinHttpReceiveResponse(invalide, nullptr); }},
      {L"WinHttpQueryDataAvailable", [&] { VerifWinHttpQueryDataAvailable(invalide, &nombre); }},
      {L"WinHttpReadData", [&] { VerifWinHttpReadData(invalide, tampon, sizeof tampon, &nombre); }},
      {L"WinHttpWriteData", [&] { VerifWinHttpWriteData(invalide, tampon, sizeof tampon, &nombre); }},
  };
  for (const auto& c : cas) {
    try {
      SetLastError(0);
      c.appel();
      ADD_FAILURE() << VersUtf8(c.complInfo) << " did not raise";
    } catch (const EExceptionWinhttp& e) {
      EXPECT_NE(0u, e.Code()) << VersUtf8(c.complInfo);
      EXPECT_EQ(MessageExceptionWinhttp(e.Code(), c.complInfo), e.Message());
      EXPECT_TRUE(CommencePar(e.Message(), Base + L" (" + c.complInfo + L" - 0x")) << e.what();
    }
  }
}

// Plain Win32 codes that WinHTTP returns get the system's own text, not "Erreur non précisée.".
TEST(WinhttpVerifie, InvalidHandleCarriesTheSystemText) {
  try {
    VerifWinHttpConnect(nullptr, L"localhost", 80, 0);
    FAIL() << "WinHttpConnect on no session succeeded";
  } catch (const EExceptionWinhttp& e) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), e.Code());
    EXPECT_EQ(Base + L" (WinHttpConnect - 0x00000006)\r\n" + TexteErreurSysteme(ERROR_INVALID_HANDLE), e.Message());
    EXPECT_NE(Base + L" (WinHttpConnect - 0x00000006)\r\n", e.Message());
  }
}

// A real refused connection, through a synchronous session so that the send itself fails.
TEST(WinhttpVerifie, SendToAClosedPortRaisesCannotConnect) {
  TSessionTest session(0);
  const HINTERNET connexion = VerifWinHttpConnect(session.Handle, L"127.0.0.1", PortFerme(), 0);
  const HINTERNET requete = VerifWinHttpOpenRequest(connexion, L"GET", L"/", nullptr, nullptr, nullptr, 0);
  try {
    VerifWinHttpSendRequest(requete, nullptr, 0, nullptr, 0, 0, 0);
    ADD_FAILURE() << "the request reached a closed port";
  } catch (const EExceptionWinhttp& e) {
    EXPECT_EQ(static_cast<DWORD>(ERROR_WINHTTP_CANNOT_CONNECT), e.Code());
    EXPECT_TRUE(CommencePar(e.Message(), Base + L" (WinHttpSendRequest - 0x00002EFD)\r\n")) << e.what();
  }
  WinHttpCloseHandle(requete);
  WinHttpCloseHandle(connexion);
}

TEST(ErreursHttp, StatusProxyAndNetworkMessages) {
  const std::wstring entetes = L"HTTP/1.0 407 Proxy Authentication Required\r\nServer: squid/2.7.STABLE9\r\n";
  struct Cas {
    const char* nom;
    std::wstring attendu;
    std::wstring obtenu;
  };
  const Cas cas[] = {
      {"statut", L"Erreur HTTP 404 : Not Found", ErreurStatutHttp(L"404", L"Not Found").Message()},
      {"squid",
       L"L'authentification Windows a échoué car vous utilisez la version 2.7 de Squid qui ne gère pas HTTP "
       L"version 1.1\r\nEntêtes HTTP :\r\n" + entetes,
       ErreurSquidSansHttp11(L"2.7", entetes).Message()},
      {"proxy",
       L"L'authentification Windows a échoué car vous utilisez un proxy qui ne gère pas HTTP version 1.1\r\n"
       L"Entêtes HTTP :\r\n" + entetes,
       ErreurProxySansHttp11(entetes).Message()},
      {"réseau", L"Impossible d'accéder aux paramètres réseau (0x00000005) : " + TexteErreurSysteme(ERROR_ACCESS_DENIED),
       ErreurSystemeCode(ERROR_ACCESS_DENIED, Msg::ParametresReseauInaccessibles, L"GetNetworkParams").Message()},
  };
  for (const auto& c : cas) EXPECT_EQ(c.attendu, c.obtenu) << c.nom;
}
