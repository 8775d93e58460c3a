// Entry of the assistant. Until the application object lands this shows the window frame only.
#include <windows.h>

namespace {

LRESULT CALLBACK ProcedureFenetre(HWND fenetre, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(fenetre, message, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int affichage) {
  WNDCLASSEXW classe{sizeof(classe)};
  classe.lpfnWndProc = ProcedureFenetre;
  classe.hInstance = instance;
  classe.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  classe.lpszClassName = L"TFicheInstalleurNorvelPrimaire";
  RegisterClassExW(&classe);
  HWND fenetre = CreateWindowExW(0, classe.lpszClassName, L"Assistant d'installation de NORVEL Primaire - 1.9",
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 800, 560, nullptr, nullptr, instance, nullptr);
  ShowWindow(fenetre, affichage);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
