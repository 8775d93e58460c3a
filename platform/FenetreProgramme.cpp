#include "platform/FenetreProgramme.h"

#include <atomic>

namespace norvel {

namespace {
std::atomic<ATOM> GClasseFenetres{0};
}  // namespace

bool TFenetreProgramme::EstFenetreProgramme(HWND fenetre) {
  const ATOM classe = GClasseFenetres.load();
  return classe != 0 && GetClassLongPtrW(fenetre, GCW_ATOM) == classe;
}

void TFenetreProgramme::DeclarerClasse(ATOM classe) { GClasseFenetres = classe; }

}  // namespace norvel
