#pragma once
// Images embedded as raw-data resources (PNG, icon files), decoded once with the Windows
// Imaging Component into bitmaps that AlphaBlend can draw.
#include <windows.h>

#include <string>

#include "core/Handle.h"

namespace norvel {

// A 32-bit top-down DIB section with premultiplied alpha (what AlphaBlend with AC_SRC_ALPHA wants).
struct TImageBitmap {
  TBitmapGdi Bitmap;
  int Largeur = 0;
  int Hauteur = 0;
};

// The first image of a raw-data resource (a PNG), at its own size. Raises on a missing resource
// or an undecodable image.
TImageBitmap ChargerImageRessource(const std::wstring& nom, HMODULE module = nullptr);

// An icon-file resource drawn cote x cote: its image of that size, or else the smallest larger
// one scaled down (the largest one when all are smaller), so that small sizes keep the detail
// each image was drawn with.
TImageBitmap ChargerIconeRessource(const std::wstring& nom, int cote, HMODULE module = nullptr);

// The image resampled to largeur x hauteur with a smooth filter computed here, so that it looks
// the same on every system (the display scale asks for sizes the resources were not drawn at).
TImageBitmap Redimensionner(const TImageBitmap& image, int largeur, int hauteur);

}  // namespace norvel
