#pragma once
// Text put inside a URL as data: one path segment or one query value.
#include <string>
#include <string_view>

namespace norvel {

// Percent-encodes the UTF-8 bytes of the text, keeping only letters, digits and "-._~": a "/",
// "?", "#", "%", "&" or blank typed by a user stays data and can never change which resource
// or which parameters the URL names. Ordinary identifiers come out unchanged.
std::wstring EncoderPourUrl(std::wstring_view texte);

}  // namespace norvel
