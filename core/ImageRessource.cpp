#include "core/ImageRessource.h"

#include <wincodec.h>

#include <climits>

#include "core/Com.h"
#include "core/ErreurSysteme.h"
#include "core/Messages.h"
#include "core/Ressources.h"

namespace norvel {

namespace {

struct TDecodeur {
  TRef<IWICImagingFactory> Fabrique;
  TRef<IWICBitmapDecoder> Decodeur;
};

TDecodeur OuvrirDecodeur(const std::wstring& nom, HMODULE module) {
  const std::string_view octets = DonneesRessource(nom, module);
  TDecodeur d;
  d.Fabrique = CreerInstanceCom<IWICImagingFactory>(CLSID_WICImagingFactory);
  IWICStream* flux = nullptr;
  VerifierHResult(d.Fabrique->CreateStream(&flux), L"IWICImagingFactory.CreateStream");
  auto refFlux = TRef<IWICStream>::Attacher(flux);
  // The resource stays mapped while the module is loaded: the stream may read it in place.
  VerifierHResult(flux->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(octets.data())),
                                             static_cast<DWORD>(octets.size())),
                  L"IWICStream.InitializeFromMemory");
  IWICBitmapDecoder* decodeur = nullptr;
  VerifierHResult(d.Fabrique->CreateDecoderFromStream(flux, nullptr, WICDecodeMetadataCacheOnDemand, &decodeur),
                  L"IWICImagingFactory.CreateDecoderFromStream");
  d.Decodeur = TRef<IWICBitmapDecoder>::Attacher(decodeur);
  return d;
}

TRef<IWICBitmapFrameDecode> Image(IWICBitmapDecoder* decodeur, UINT index) {
  IWICBitmapFrameDecode* image = nullptr;
  VerifierHResult(decodeur->GetFrame(index, &image), L"IWICBitmapDecoder.GetFrame");
  return TRef<IWICBitmapFrameDecode>::Attacher(image);
}

// Premultiplied before any scaling, so that transparent pixels lend no colour to their neighbours.
TRef<IWICBitmapSource> Premultipliee(IWICBitmapSource* source) {
  IWICBitmapSource* convertie = nullptr;
  VerifierHResult(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, source, &convertie),
                  L"WICConvertBitmapSource");
  return TRef<IWICBitmapSource>::Attacher(convertie);
}

TImageBitmap VersBitmap(IWICBitmapSource* source) {
  auto convertie = Premultipliee(source);
  UINT largeur = 0, hauteur = 0;
  VerifierHResult(convertie->GetSize(&largeur, &hauteur), L"IWICBitmapSource.GetSize");

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(largeur);
  info.bmiHeader.biHeight = -static_cast<LONG>(hauteur);  // top-down, as WIC gives the rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TImageBitmap image;
  image.Bitmap = TBitmapGdi(
      VerifierPointeur(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), L"CreateDIBSection"));
  const UINT pas = largeur * 4;
  VerifierHResult(convertie->CopyPixels(nullptr, pas, pas * hauteur, static_cast<BYTE*>(bits)),
                  L"IWICBitmapSource.CopyPixels");
  image.Largeur = static_cast<int>(largeur);
  image.Hauteur = static_cast<int>(hauteur);
  return image;
}

// The smallest image at least as large as asked is best; failing that, the largest one.
bool Preferable(UINT candidat, UINT actuel, UINT voulu) {
  const bool candidatAssez = candidat >= voulu;
  if (candidatAssez != (actuel >= voulu)) return candidatAssez;
  return candidatAssez ? candidat < actuel : candidat > actuel;
}

}  // namespace

TImageBitmap ChargerImageRessource(const std::wstring& nom, HMODULE module) {
  TInitialisationCom com;
  const auto d = OuvrirDecodeur(nom, module);
  return VersBitmap(Image(d.Decodeur.Get(), 0).Get());
}

TImageBitmap ChargerIconeRessource(const std::wstring& nom, int cote, HMODULE module) {
  TInitialisationCom com;
  const auto d = OuvrirDecodeur(nom, module);
  UINT nombre = 0;
  VerifierHResult(d.Decodeur->GetFrameCount(&nombre), L"IWICBitmapDecoder.GetFrameCount");

  TRef<IWICBitmapFrameDecode> choisie;
  UINT coteChoisi = 0;
  for (UINT i = 0; i < nombre; ++i) {
    auto image = Image(d.Decodeur.Get(), i);
    UINT largeur = 0, hauteur = 0;
    VerifierHResult(image->GetSize(&largeur, &hauteur), L"IWICBitmapSource.GetSize");
    if (!choisie || Preferable(largeur, coteChoisi, static_cast<UINT>(cote))) {
      choisie = image;
      coteChoisi = largeur;
    }
  }
  if (!choisie) throw ErreurSystemeCode(static_cast<DWORD>(WINCODEC_ERR_FRAMEMISSING), Msg::ErreurInterne,
                                        L"IWICBitmapDecoder.GetFrame");
  if (coteChoisi == static_cast<UINT>(cote)) return VersBitmap(choisie.Get());

  IWICBitmapScaler* reduction = nullptr;
  VerifierHResult(d.Fabrique->CreateBitmapScaler(&reduction), L"IWICImagingFactory.CreateBitmapScaler");
  auto refReduction = TRef<IWICBitmapScaler>::Attacher(reduction);
  auto premultipliee = Premultipliee(choisie.Get());
  VerifierHResult(reduction->Initialize(premultipliee.Get(), cote, cote, WICBitmapInterpolationModeFant),
                  L"IWICBitmapScaler.Initialize");
  return VersBitmap(reduction);
}

}  // namespace norvel
