// TOvRegistry on an isolated copy of the current user's root: base keys opened with or without
// creation, string values written and read, absent and mistyped values.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/Registre.h"
#include "core/Exceptions.h"
#include "support/RegistreIsole.h"

using namespace norvel;

TEST(OvRegistry, BaseKeysAndStringValues) {
  test::TRegistreIsole isole(HKEY_CURRENT_USER);
  TOvRegistry registre(KEY_ALL_ACCESS, HKEY_CURRENT_USER);

  EXPECT_FALSE(registre.SetBaseSiExiste(L"Software\\Ovalis\\Essai"));
  EXPECT_THROW(registre.GetKey(L"Valeur"), EOvalis) << "no key open";
  registre.SetBase(L"Software\\Ovalis\\Essai");
  registre.SetKey(L"Valeur", L"texte éà");
  EXPECT_EQ(isole.LireChaine(L"Software\\Ovalis\\Essai", L"Valeur"), L"texte éà");

  // With or without the trailing separator, the same key.
  ASSERT_TRUE(registre.SetBaseSiExiste(L"Software\\Ovalis\\Essai\\"));
  EXPECT_EQ(registre.GetKey(L"Valeur"), L"texte éà");
  EXPECT_EQ(registre.GetKey(L"Absente"), L"");

  // Read rights only: reading works, writing is refused.
  TOvRegistry lecture(KEY_READ, HKEY_CURRENT_USER);
  ASSERT_TRUE(lecture.SetBaseSiExiste(L"Software\\Ovalis\\Essai"));
  EXPECT_EQ(lecture.GetKey(L"Valeur"), L"texte éà");
  EXPECT_THROW(lecture.SetKey(L"Valeur", L"autre"), EOvalis);

  const DWORD nombre = 7;
  HKEY cle = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Ovalis\\Essai", 0, KEY_SET_VALUE, &cle), ERROR_SUCCESS);
  RegSetValueExW(cle, L"Nombre", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nombre), sizeof nombre);
  RegCloseKey(cle);
  try {
    lecture.GetKey(L"Nombre");
    ADD_FAILURE() << "a number read as text";
  } catch (const EOvalis& e) {
    EXPECT_EQ(e.Message(), L"Type de données incorrect pour 'Nombre'");
  }
}
