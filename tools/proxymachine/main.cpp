// The machine-wide WinHTTP proxy settings of the prefix, as a network administrator sets them
// (what "netsh winhttp set proxy" does on Windows), for the demo and the end-to-end test:
//   proxymachine definir PROXY [EXCEPTIONS]   named proxy ("127.0.0.1:3128"), bypass list ("<local>;localhost")
//   proxymachine direct                       no proxy
//   proxymachine lire                         prints "proxy=... exceptions=..." (empty: direct)
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/Chaines.h"
#include "core/Exceptions.h"
#include "http/InfoHttp.h"

using namespace norvel;

int wmain(int argc, wchar_t** argv) {
  const std::wstring commande = argc > 1 ? argv[1] : L"";
  try {
    if (commande == L"definir" && (argc == 3 || argc == 4)) {
      TypeInfoProxyHttp{WINHTTP_ACCESS_TYPE_NAMED_PROXY, argv[2], argc == 4 ? argv[3] : L""}.SetConfigProxyParDefaut();
    } else if (commande == L"direct" && argc == 2) {
      TypeInfoProxyHttp{WINHTTP_ACCESS_TYPE_NO_PROXY, L"", L""}.SetConfigProxyParDefaut();
    } else if (commande == L"lire" && argc == 2) {
      const TypeInfoProxyHttp proxy = TypeInfoProxyHttp::GetConfigProxyParDefaut();
      std::printf("proxy=%s exceptions=%s\n", VersUtf8(proxy.ServeurProxy).c_str(), VersUtf8(proxy.PasDeProxyPour).c_str());
    } else {
      std::fprintf(stderr, "usage: proxymachine definir PROXY [EXCEPTIONS] | direct | lire\n");
      return 2;
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "proxymachine : %s\n", e.what());
    return 1;
  }
}
