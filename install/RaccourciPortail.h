#pragma once
// Step 5 of the installation: a desktop shortcut that opens the school's web portal.
// On Windows it is a shell link whose target is the portal URL. A host desktop asks for an
// internet-location file (".webloc" property list) instead, handed to its companion program
// "SetIconeWebloc", by providing a "webloc" folder beside the program and setting BUREAU_HOTE.
#include <string>
#include <string_view>

namespace norvel {

// Outcome of the step, which the installation worker tells the wizard.
struct TypeResultatRaccourciPortail {
  bool Succes = true;
  std::wstring Message;  // the error's message when the step failed
};

// Runs on the installation worker, whose thread has initialised COM (single-threaded
// apartment). Never raises: any failure becomes the result's message.
TypeResultatRaccourciPortail CreerRaccourciPortail(const std::wstring& ANomEcole, const std::wstring& AUrlPortail,
                                                   const std::wstring& AFichierIconePortail);

// A shell link on the current user's desktop (see DossierBureau). ANom names the link without
// its extension; only what follows its last "\", "/" or ":" is kept. An existing link is left
// alone unless ARemplacer. Raises when the link cannot be made or saved, or when there is no
// desktop folder.
void CreerRaccourciBureau(const std::wstring& ANom, const std::wstring& ACible, const std::wstring& AArguments,
                          bool ARemplacer, const std::wstring& ADossierTravail, const std::wstring& ADescription,
                          const std::wstring& AFichierIcone);

// The desktop folder as Explorer records it for the current user ("Shell Folders", value
// "Desktop"); empty when missing.
std::wstring DossierBureau();

// ANom + extension, reduced to what follows its last "\", "/" or ":": a school name can never
// lead the file out of its folder.
std::wstring NomFichierRaccourci(std::wstring_view ANom, std::wstring_view AExtension);

// XML text escaping: "&", "<", ">", and the double quote when asked.
std::wstring EchapperXml(std::wstring_view ATexte, bool AEchapperGuillemets = false);

// The internet-location property list for a URL, in UTF-8 without byte-order mark.
std::string ContenuWebloc(std::wstring_view AUrl);

}  // namespace norvel
