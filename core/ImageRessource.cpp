#include "core/ImageRessource.h"

#include <wincodec.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

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

// A 32-bit top-down DIB section (top-down, as WIC gives the rows); `bits` receives its pixels.
TImageBitmap NouvelleImage(int largeur, int hauteur, BYTE*& bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = largeur;
  info.bmiHeader.biHeight = -hauteur;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  TImageBitmap image;
  image.Bitmap = TBitmapGdi(
      VerifierPointeur(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0), L"CreateDIBSection"));
  bits = static_cast<BYTE*>(pixels);
  image.Largeur = largeur;
  image.Hauteur = hauteur;
  return image;
}

TImageBitmap VersBitmap(IWICBitmapSource* source) {
  auto convertie = Premultipliee(source);
  UINT largeur = 0, hauteur = 0;
  VerifierHResult(convertie->GetSize(&largeur, &hauteur), L"IWICBitmapSource.GetSize");
  BYTE* bits = nullptr;
  TImageBitmap image = NouvelleImage(static_cast<int>(largeur), static_cast<int>(hauteur), bits);
  const UINT pas = largeur * 4;
  VerifierHResult(convertie->CopyPixels(nullptr, pas, pas * hauteur, bits), L"IWICBitmapSource.CopyPixels");
  return image;
}

// Weights of a tent filter from `source` samples to `cible` ones; when shrinking, the tent
// widens to the scale so that every source pixel counts.
struct TPoidsEchantillon {
  int Debut = 0;
  std::vector<float> Poids;
};

std::vector<TPoidsEchantillon> PoidsReechantillonnage(int source, int cible) {
  const double echelle = static_cast<double>(source) / cible;
  const double rayon = std::max(1.0, echelle);
  std::vector<TPoidsEchantillon> tous(static_cast<size_t>(cible));
  for (int i = 0; i < cible; ++i) {
    const double centre = (i + 0.5) * echelle;
    auto& p = tous[static_cast<size_t>(i)];
    p.Debut = std::max(0, static_cast<int>(std::floor(centre - rayon)));
    const int fin = std::min(source, static_cast<int>(std::ceil(centre + rayon)));
    double total = 0;
    for (int j = p.Debut; j < fin; ++j) {
      const double poids = std::max(0.0, 1.0 - std::abs((j + 0.5 - centre) / rayon));
      p.Poids.push_back(static_cast<float>(poids));
      total += poids;
    }
    for (float& poids : p.Poids) poids = static_cast<float>(poids / total);
  }
  return tous;
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

TImageBitmap Redimensionner(const TImageBitmap& image, int largeur, int hauteur) {
  DIBSECTION description{};
  if (!GetObjectW(image.Bitmap.Get(), sizeof(description), &description) || !description.dsBm.bmBits)
    throw ErreurSysteme(L"GetObject");
  const auto* source = static_cast<const BYTE*>(description.dsBm.bmBits);
  const auto horizontaux = PoidsReechantillonnage(image.Largeur, largeur);
  const auto verticaux = PoidsReechantillonnage(image.Hauteur, hauteur);
  // Rows first, into floats; premultiplied channels blend as they are.
  std::vector<float> lignes(static_cast<size_t>(largeur) * image.Hauteur * 4);
  for (int y = 0; y < image.Hauteur; ++y)
    for (int x = 0; x < largeur; ++x) {
      const auto& p = horizontaux[static_cast<size_t>(x)];
      float* sortie = &lignes[(static_cast<size_t>(y) * largeur + x) * 4];
      for (size_t k = 0; k < p.Poids.size(); ++k) {
        const BYTE* pixel = source + (static_cast<size_t>(y) * image.Largeur + p.Debut + k) * 4;
        for (int c = 0; c < 4; ++c) sortie[c] += p.Poids[k] * pixel[c];
      }
    }
  BYTE* bits = nullptr;
  TImageBitmap resultat = NouvelleImage(largeur, hauteur, bits);
  for (int y = 0; y < hauteur; ++y) {
    const auto& p = verticaux[static_cast<size_t>(y)];
    for (int x = 0; x < largeur; ++x) {
      float somme[4] = {};
      for (size_t k = 0; k < p.Poids.size(); ++k) {
        const float* pixel = &lignes[((p.Debut + k) * largeur + x) * 4];
        for (int c = 0; c < 4; ++c) somme[c] += p.Poids[k] * pixel[c];
      }
      BYTE* sortie = bits + (static_cast<size_t>(y) * largeur + x) * 4;
      for (int c = 0; c < 4; ++c) sortie[c] = static_cast<BYTE>(std::clamp(somme[c] + 0.5f, 0.0f, 255.0f));
    }
  }
  return resultat;
}

}  // namespace norvel
