#pragma once
// The machine-wide WinHTTP proxy settings for the life of the object, given back at the end.
#include "http/InfoHttp.h"

namespace norvel::test {

class TProxyMachineTemporaire {
 public:
  TProxyMachineTemporaire() : FAncien(TypeInfoProxyHttp::GetConfigProxyParDefaut()) {}
  explicit TProxyMachineTemporaire(const TypeInfoProxyHttp& proxy) : TProxyMachineTemporaire() {
    proxy.SetConfigProxyParDefaut();
  }
  ~TProxyMachineTemporaire() {
    try {
      FAncien.SetConfigProxyParDefaut();
    } catch (...) {
    }
  }
  TProxyMachineTemporaire(const TProxyMachineTemporaire&) = delete;
  TProxyMachineTemporaire& operator=(const TProxyMachineTemporaire&) = delete;

 private:
  TypeInfoProxyHttp FAncien;
};

}  // namespace norvel::test
