#pragma once
// Every text the program shows or raises, spelled exactly as the program must show it.
// Grouped by the subsystem that uses it. Formats use the specifiers of core/Format.h.

namespace norvel::Msg {

// ---- Shared: failures of the operating system, cancellation
inline constexpr const wchar_t* ErreurInterne = L"Erreur interne (%2:s, 0x%0:.8x) : %1:s";
inline constexpr const wchar_t* OperationAnnulee = L"Opération annulée";

// ---- Service registry, interfaced objects, finalisation
inline constexpr const wchar_t* DoubleDestruction = L"Erreur interne : double destruction d'un objet de classe %s.";
inline constexpr const wchar_t* DestructionObjetReference =
    L"Erreur interne : tentative de destruction d'un objet de classe %s référencé comme interface.";
inline constexpr const wchar_t* ExtensionNonRecensee = L"Extension non recensée %s";
inline constexpr const wchar_t* DoublonsNonAutorises = L"Doublons non autorisés";
inline constexpr const wchar_t* AccesExtensionsPlusieursThreads =
    L"On ne doit pas accéder aux extensions plusieurs threads.";

// ---- Application information, versions, command line
inline constexpr const wchar_t* NumerosVersionInvalides = L"Numéros de version invalides.";
inline constexpr const wchar_t* LectureVersionFichierImpossible =
    L"Impossible de lire les informations de version du fichier %s\r\n%s (%d)";

// ---- Results, errors and serialisable exceptions
inline constexpr const wchar_t* DonneesSerialiseesInvalides = L"Données sérialisées invalides.";
inline constexpr const wchar_t* ClasseNonDeclaree = L"Erreur interne : classe non déclarée pour la lecture : %s";
inline constexpr const wchar_t* ObjetNonSerialisable = L"Erreur interne : objet non sérialisable.";
inline constexpr const wchar_t* ResultatPropreDescendant =
    L"Erreur interne : un résultat ne peut pas devenir son propre descendant.";

// ---- Obfuscated credentials
inline constexpr const wchar_t* ErreurDesoffuscation = L"Erreur de déssoffuscation.";
inline constexpr const wchar_t* ValeurHexadecimaleIncorrecte = L"Valeur héxadécimale incorrecte";

// ---- HTTP error reporting
inline constexpr const wchar_t* EchecRequeteHttp = L"Échec de la requête http";
// Texts for the WinHTTP codes that winhttp.dll's message table may lack.
inline constexpr const wchar_t* WinhttpEnteteInvalide = L"Entête HTTP invalide.";
inline constexpr const wchar_t* WinhttpAucunProxy = L"Auncun proxy n'a pu être localisé pour l'URL spécifiée.";
inline constexpr const wchar_t* WinhttpCertificatSansClePrivee =
    L"Le contexte pour le certificat SSL client ne dispose pas d'une clé privée associée.";
inline constexpr const wchar_t* WinhttpClePriveeInaccessible =
    L"L'application n'a pas les privilèges requis pour accéder à la clé privée associée au certificat client.";
inline constexpr const wchar_t* ErreurNonPrecisee = L"Erreur non précisée.";
inline constexpr const wchar_t* ControleurDomaineLectureSeule =
    L"Ce poste est connecté au contrôleur de domaine Windows %s qui est en lecture seule.\r\n"
    L"Nous vous invitons à exécuter le fichier REG \"ProtectionPolicy\" en lien ci-dessous et retenter "
    L"l'opération :\r\n";
inline constexpr const wchar_t* WinhttpSecBufferTooSmall =
    L"SEC_E_BUFFER_TOO_SMALL - WinHttpSendRequest dwHeadersLength=%0:d, dwOptionalLength=%1:d, dwTotalLength=%2:d";
inline constexpr const wchar_t* ErreurHttp = L"Erreur HTTP %s : %s";
inline constexpr const wchar_t* SquidSansHttp11 =
    L"L'authentification Windows a échoué car vous utilisez la version %0:s de Squid qui ne gère pas HTTP "
    L"version 1.1\r\nEntêtes HTTP :\r\n%1:s";
inline constexpr const wchar_t* ProxySansHttp11 =
    L"L'authentification Windows a échoué car vous utilisez un proxy qui ne gère pas HTTP version 1.1\r\n"
    L"Entêtes HTTP :\r\n%s";
// Used with ErreurSystemeCode (code, then system text) when the network parameters cannot be read.
inline constexpr const wchar_t* ParametresReseauInaccessibles =
    L"Impossible d'accéder aux paramètres réseau (0x%.8x) : %s";

// ---- Application frame at run time: start-up, waits, threads, simple messages
inline constexpr const wchar_t* AucunMessage = L"Aucun message";
inline constexpr const wchar_t* EchecCreationEvenement =
    L"Échec de la création d'un événement de synchronisation (CreateEvent, 0x%0:.8x) : %1:s";
// Captions of the simple message boxes, by kind of message.
inline constexpr const wchar_t* LegendeErreur = L"Erreur";
inline constexpr const wchar_t* LegendeConfirmation = L"Confirmation";
inline constexpr const wchar_t* LegendeAvertissement = L"Avertissement";
inline constexpr const wchar_t* LegendeInformation = L"Information";

// ---- Special folders, parameter files, internal menu
inline constexpr const wchar_t* ElementIntrouvable = L"Elément introuvable";
inline constexpr const wchar_t* ErreurLectureFichierXml = L"Erreur lecture fichier XML";
inline constexpr const wchar_t* RootInvalide = L"root invalide";
// A value holding a control character (its code) that an XML file cannot hold.
inline constexpr const wchar_t* CaractereInterditXml =
    L"Le caractère de code 0x%.2x ne peut pas être enregistré dans un fichier de paramètres.";
// A shared parameter file whose lock another program kept too long: the file, the seconds waited.
inline constexpr const wchar_t* FichierPartageVerrouille =
    L"Le fichier %s est verrouillé par un autre programme depuis plus de %d secondes : réessayez plus tard.";
inline constexpr const wchar_t* MenuEnvironnementProduction = L"Environnement Production";
inline constexpr const wchar_t* MenuEnvironnementPreProduction = L"Environnement PréProduction";
inline constexpr const wchar_t* MenuEnvironnementDeveloppement = L"Environnement Développement";
// A registry value read as text that holds another type of data.
inline constexpr const wchar_t* TypeDonneesRegistreIncorrect = L"Type de données incorrect pour '%s'";

// ---- HTTP engine, URLs, configuration model
inline constexpr const wchar_t* RequeteHttpInterrompue = L"La requête HTTP a été interrompue.";
// A request that had not received its whole answer within its deadline: the server, seconds.
inline constexpr const wchar_t* ReponseHttpIncomplete = L"Pas de réponse complète de %s en %d secondes.";
inline constexpr const wchar_t* ArretApplicationEnCours = L"Arrêt de l'application en cours...";
// A body kept in memory beyond its bound: the bound in KiB.
inline constexpr const wchar_t* CorpsHttpTropGrand =
    L"La réponse du serveur dépasse la taille attendue (%s Kio au plus) : elle a été abandonnée.";

// ---- HTTP configuration file, thread, tests, discovery, search, dialogs
inline constexpr const wchar_t* ValeurBooleenneXsdIncorrecte = L"%s n'est pas une valeur correcte pour un type xsd:boolean.";
inline constexpr const wchar_t* NomServeurAvecBarreOblique = L"Un nom de serveur ne doit pas contenir le caractère \"/\"";
inline constexpr const wchar_t* CodeHttp = L"Code HTTP %0:s (%1:s)";
// Trace lines of an automatic proxy evaluation.
inline constexpr const wchar_t* AutoProxyModeAutomatique = L"Appel au service AutoProxy en mode automatique";
inline constexpr const wchar_t* AutoProxyAdresseConfig =
    L"Appel au service AutoProxy en utilisant l'adresse de configuration automatique %s";
inline constexpr const wchar_t* AutoProxyAdresseEvaluee = L"Adresse évaluée : %s";
inline constexpr const wchar_t* AutoProxyServeursObtenus = L"Serveurs proxy obtenus : %s";
inline constexpr const wchar_t* AutoProxyDelaiDepasse =
    L"Pas de réponse du service AutoProxy après %d secondes : évaluation abandonnée";

// ---- Configuration choice and proxy authentication dialogs
inline constexpr const wchar_t* Valider = L"Valider";
inline constexpr const wchar_t* Annuler = L"Annuler";
inline constexpr const wchar_t* ChoixMeilleureConfigurationHttp = L"Choix meilleure configuration http";
inline constexpr const wchar_t* PropositionConfigSysteme = L"Utiliser les paramètres de proxy par défaut du système";
inline constexpr const wchar_t* PropositionConfigOvalis = L"Utiliser des paramètres personnalisés";
inline constexpr const wchar_t* PourConnexionsHttp = L"Pour les connexions HTTP :";
inline constexpr const wchar_t* PourConnexionsHttps = L"Pour les connexions HTTPS :";
inline constexpr const wchar_t* PasDeServeurProxy = L"(pas de serveur proxy)";
inline constexpr const wchar_t* ServeursEnAccesDirect = L"Serveurs en accès direct";
inline constexpr const wchar_t* AucunServeur = L"(aucun serveur)";
inline constexpr const wchar_t* PropositionUrlConfig =
    L"Utiliser une adresse de configuration automatique (peut être lent)";
inline constexpr const wchar_t* PropositionWpad =
    L"Détecter automatiquement les paramètres (Protocole WPAD, peut être très lent)";
inline constexpr const wchar_t* Connexion = L"Connexion";
inline constexpr const wchar_t* IdentifiantDeConnexion = L"Identifiant de connexion";
inline constexpr const wchar_t* MotDePasse = L"Mot de passe";
inline constexpr const wchar_t* Identification = L"Identification";
inline constexpr const wchar_t* SaisieIdentifiantObligatoire = L"La saisie de votre idenfiant est obligatoire";
inline constexpr const wchar_t* SaisieMotDePasseObligatoire = L"La saisie du mot de passe est obligatoire";
inline constexpr const wchar_t* DemandeAuthentification = L"Demande d'authentification";
inline constexpr const wchar_t* AuthentificationProxy = L"Veuillez vous authentifier auprès du serveur proxy %s";

// ---- School lookup
inline constexpr const wchar_t* AucuneEcoleCorrespondante = L"Aucune école correspondante, vérifiez les caractères saisis";
inline constexpr const wchar_t* TypeMimeInvalide = L"TypeMime invalide : %s";
inline constexpr const wchar_t* ChampManquantJson = L"Il manque le champ %s dans le json";
inline constexpr const wchar_t* TranstypageIncorrect = L"Transtypage de classe incorrect";
inline constexpr const wchar_t* ValeurEntiereIncorrecte = L"'%s' n'est pas une valeur entière correcte";
inline constexpr const wchar_t* ValeurBooleenneIncorrecte = L"'%s' n'est pas une valeur booléenne";

// ---- Installation
inline constexpr const wchar_t* NomRaccourciPortail = L"%s - Portail NORVEL Primaire";
inline constexpr const wchar_t* DescriptionRaccourciPortail =
    L"Permet de lancer votre navigateur vers le portail NORVEL Primaire de l'école \"%s\"";
inline constexpr const wchar_t* CaracteresNonValidesChemin = L"Caractères non valides dans le chemin";
// Signature check of the downloaded setup: %0 the code, %1 the system's text, %2 the call.
inline constexpr const wchar_t* SignatureAbsente =
    L"La vérification de la signature numérique a échoué (%2:s, TRUST_E_NOSIGNATURE + 0x%0:.8x) : %1:s";
inline constexpr const wchar_t* SignatureRefusee = L"La vérification de la signature numérique a échoué (%2:s, 0x%0:.8x) : %1:s";
inline constexpr const wchar_t* NomCertificat = L"Nom du certificat = \"%s\"";
inline constexpr const wchar_t* ExecutableNonSigne =
    L"L'exécutable n'est pas signé numériquement ou la signature est invalide.";
inline constexpr const wchar_t* ErreurVerificationSignature = L"Erreur de la vérification de la signature : %s";
// Removal of earlier versions: the display name of a catalogue version (millesime, platform).
inline constexpr const wchar_t* NomVersionClient = L"Client NORVEL Primaire %s (%s)";
// A program of the installation that did not end within its delay (its command line, seconds).
inline constexpr const wchar_t* ProgrammeSansFin =
    L"Le programme %s ne s'est pas terminé dans le délai accordé (%d secondes) : il a été arrêté.";
// An uninstaller that failed: its exit code and its error output.
inline constexpr const wchar_t* ErreurCodeProgramme = L"Erreur code=%d \"%s\"";
inline constexpr const wchar_t* CatalogueProduitsIllisible = L"Catalogue des produits illisible : %s";
// Download of the setup: the local file's name and the content type received.
inline constexpr const wchar_t* TypeMimeFichierInvalide = L"TypeMime de %s invalide : %s";
// The temporary folder's volume cannot hold the setup: the folder, the size needed, the free space.
inline constexpr const wchar_t* EspaceDisqueInsuffisant =
    L"Espace disque insuffisant dans %s pour télécharger l'installation : %s nécessaires, %s disponibles.";
// A server that answers a resumed download with a piece other than the one asked for.
inline constexpr const wchar_t* RepriseTelechargementIncoherente =
    L"Le serveur a répondu à la reprise du téléchargement par une partie inattendue du fichier : %s";
inline constexpr const wchar_t* ImpossibleLancerClient = L"Impossible de lancer le client NORVEL Primaire";

// ---- Wizard
inline constexpr const wchar_t* TitreAssistant = L"Assistant d'installation de NORVEL Primaire";
inline constexpr const wchar_t* TitreFicheAvecVersion = L"%s - %s";
inline constexpr const wchar_t* TitreEtape = L"%d/%d. %s";
inline constexpr const wchar_t* EtapeTestAccesInternet = L"Test accès internet";
inline constexpr const wchar_t* EtapeSaisieRne = L"Saisie du RNE";
inline constexpr const wchar_t* EtapeConfirmationEcole = L"Confirmation de l'école";
inline constexpr const wchar_t* EtapeAcceptationDes = L"Acceptation des";
inline constexpr const wchar_t* LienConditionsGenerales = L"conditions générales d'utilisation";
inline constexpr const wchar_t* EtapeRaccourciPortail =
    L"Création sur le bureau d'un raccourci vers le portail de l'école (Espaces web)";
inline constexpr const wchar_t* EtapeInstallationClient = L"Installation du Client NORVEL Primaire %s sur le poste";
inline constexpr const wchar_t* EtapeLancementClient = L"Lancement du client NORVEL Primaire";
inline constexpr const wchar_t* ExplicationSaisieRne = L"Saisissez le RNE de l'école (ou l'identifiant fourni par Ovalis)";
inline constexpr const wchar_t* BoutonValiderRne = L"Valider";
inline constexpr const wchar_t* BoutonConfirmationEcole = L"Oui c'est mon école";
inline constexpr const wchar_t* ModificationRne = L"Sinon, modifiez le RNE";
inline constexpr const wchar_t* AcceptationConditions = L"J'ai lu et j'accepte les conditions générales d'utilisation";
inline constexpr const wchar_t* BoutonFermer = L"Fermer";
inline constexpr const wchar_t* AccesInternetEnEchec = L"Accès internet en échec. Recherche d'une meilleure configuration ...";
inline constexpr const wchar_t* AucuneConfigurationHttp = L"Aucune configuration http fonctionnelle n'a été trouvée.";
inline constexpr const wchar_t* AnnulationChoixConfiguration = L"Annulation choix meilleure configuration";
inline constexpr const wchar_t* ConfigurationHttpAppliquee = L"Une configuration http fonctionnelle a été appliquée.";
// The configuration chosen works, but the shared file refused it: the system's reason.
inline constexpr const wchar_t* ConfigurationHttpNonEnregistree =
    L"La configuration http choisie fonctionne pour cette session mais n'a pas pu être enregistrée : %s";
inline constexpr const wchar_t* CodePostalEtVille = L"%s %s";
inline constexpr const wchar_t* NatureTestConnectivite = L"Test connectivité";
inline constexpr const wchar_t* NatureConfiguration = L"Configuration";
inline constexpr const wchar_t* NavigateurParDefautAbsent = L"Veuillez définir un navigateur par défaut";
inline constexpr const wchar_t* MenuOvalis = L"MenuOvalis";
inline constexpr const wchar_t* MenuModeRneTest = L"Mode RNE Test";
inline constexpr const wchar_t* DesinstallationEnCours = L"Désinstallation de %s en cours ...";
inline constexpr const wchar_t* TelechargementEnCours = L"Téléchargement de l'installation en cours ...";
inline constexpr const wchar_t* ErreurTelechargement = L"Erreur lors du téléchargement : %s";
// The download's line while it runs: the text above, the percent, MiB received and total, time left.
inline constexpr const wchar_t* ProgressionTelechargement = L"%0:s %1:d %% (%2:s sur %3:s)";
inline constexpr const wchar_t* ProgressionTelechargementTempsRestant = L"%0:s %1:d %% (%2:s sur %3:s, encore %4:s)";
inline constexpr const wchar_t* ProgressionTelechargementTailleInconnue = L"%0:s %1:s reçus";
inline constexpr const wchar_t* InstallationEnCours = L"Installation en cours ...";
inline constexpr const wchar_t* ErreurInstallation = L"Erreur lors de l'installation : %s";
inline constexpr const wchar_t* InstallationReussie = L"Installation réalisée avec succès";

// ---- Exit codes (core/CodesSortie.h)
inline constexpr const wchar_t* CodeSortieSucces = L"exécution réussie";
inline constexpr const wchar_t* CodeSortieRedemarrage = L"installation réussie, le poste doit redémarrer";
inline constexpr const wchar_t* CodeSortieInstallationEnCours = L"une autre installation est en cours, réessayer plus tard";
inline constexpr const wchar_t* CodeSortieAnnulation = L"installation annulée";
inline constexpr const wchar_t* CodeSortieEchecInitialisation = L"l'assistant n'a pas pu démarrer";
inline constexpr const wchar_t* CodeSortieArguments = L"ligne de commande incorrecte";
inline constexpr const wchar_t* CodeSortieAccesInternet = L"échec de l'accès internet";
inline constexpr const wchar_t* CodeSortieAuthentificationProxy =
    L"le proxy demande une authentification que la configuration partagée ne contient pas";
inline constexpr const wchar_t* CodeSortieRechercheEcole = L"école introuvable ou service d'hébergement en échec";
inline constexpr const wchar_t* CodeSortieRaccourci = L"échec de la création du raccourci vers le portail";
inline constexpr const wchar_t* CodeSortieDesinstallation = L"échec de la désinstallation d'une version antérieure";
inline constexpr const wchar_t* CodeSortieTelechargement = L"échec du téléchargement de l'installation";
inline constexpr const wchar_t* CodeSortieSignature = L"signature du programme d'installation refusée";
inline constexpr const wchar_t* CodeSortieSetup = L"échec du programme d'installation";
inline constexpr const wchar_t* CodeSortieLancement = L"échec du fichier de connexion ou du lancement du client";

// ---- Command line of the deployment
inline constexpr const wchar_t* AideLigneDeCommande =
    L"Assistant d'installation de NORVEL Primaire\r\n"
    L"\r\n"
    L"InstalleurNorvelPrimaire.exe [-RNE <identifiant>] [-AccepterConditions] [-Silencieux | -Passif] "
    L"[-Journal <fichier>] [-CheminInstallation <dossier>]\r\n"
    L"\r\n"
    L"  -RNE <identifiant>     l'identifiant de l'école (son RNE, ou celui fourni par Ovalis) ; "
    L"seul, il ouvre l'assistant avec l'identifiant déjà saisi\r\n"
    L"  -AccepterConditions    accepte les conditions générales d'utilisation (%s) au nom des utilisateurs du "
    L"poste ; obligatoire sans assistance\r\n"
    L"  -Silencieux            installe sans aucune fenêtre ni question\r\n"
    L"  -Passif                installe en montrant seulement une petite fenêtre de progression, sans question\r\n"
    L"  -Journal <fichier>     écrit le journal de l'exécution dans ce fichier (par défaut : %s)\r\n"
    L"  -CheminInstallation <dossier>  le dossier où installer le client\r\n"
    L"  -? , -h , /?           affiche cette aide\r\n"
    L"\r\n"
    L"Les commutateurs s'écrivent avec \"-\" ou \"/\", en respectant les majuscules.\r\n"
    L"\r\n"
    L"Codes de sortie :\r\n%s";
inline constexpr const wchar_t* LigneCodeSortieAide = L"  %5d  %s\r\n";
inline constexpr const wchar_t* ValeurManquanteRne =
    L"Le commutateur -RNE attend l'identifiant de l'école (son RNE), par exemple : -RNE 0750001A";
inline constexpr const wchar_t* ValeurManquanteJournal =
    L"Le commutateur -Journal attend le chemin du fichier journal, par exemple : -Journal C:\\Journaux\\norvel.log";
inline constexpr const wchar_t* ModesExclusifs =
    L"Les commutateurs -Silencieux et -Passif s'excluent : n'en donnez qu'un seul.";
inline constexpr const wchar_t* RneObligatoireSansAssistance =
    L"Une installation sans assistance a besoin de l'identifiant de l'école : ajoutez -RNE <identifiant>.";
inline constexpr const wchar_t* ConditionsNonAcceptees =
    L"Une installation sans assistance ne démarre que si la personne qui déploie accepte les conditions générales "
    L"d'utilisation (%s) : ajoutez -AccepterConditions.";
inline constexpr const wchar_t* CommutateurInconnu = L"Commutateur inconnu : %s (voir -? pour la liste des commutateurs).";
inline constexpr const wchar_t* CommutateurMauvaiseCasse =
    L"Commutateur inconnu : %s. Vouliez-vous écrire %s ? Les majuscules et minuscules comptent.";
inline constexpr const wchar_t* JournalImpossible = L"Le fichier journal %s ne peut pas être créé : %s";
inline constexpr const wchar_t* AutreInstallationEnCours =
    L"Une autre installation est en cours sur ce poste (un autre assistant ou un programme d'installation "
    L"Windows) : réessayez quand elle sera terminée.";

// ---- Unattended run and journal
inline constexpr const wchar_t* Oui = L"oui";
inline constexpr const wchar_t* Non = L"non";
inline constexpr const wchar_t* TitreProgression = L"Installation de NORVEL Primaire";
inline constexpr const wchar_t* OuvrirJournal = L"Ouvrir le journal";
inline constexpr const wchar_t* JournalDebut = L"%s %s, %s";
inline constexpr const wchar_t* JournalWindows = L"Windows %d.%d (build %d)%s, processus %s, session %d%s";
inline constexpr const wchar_t* JournalSousWine = L", sous Wine %s";
inline constexpr const wchar_t* JournalCompteSysteme = L", compte SYSTEM";
inline constexpr const wchar_t* JournalLigneDeCommande = L"Ligne de commande : %s";
inline constexpr const wchar_t* JournalModeFenetre = L"Mode : assistant (fenêtre)";
inline constexpr const wchar_t* JournalModeSilencieux = L"Mode : sans assistance, silencieux";
inline constexpr const wchar_t* JournalModePassif = L"Mode : sans assistance, fenêtre de progression";
inline constexpr const wchar_t* JournalSansUtilisateur =
    L"Aucune session utilisateur : le raccourci ira sur le bureau public et le client sera configuré sans être lancé";
inline constexpr const wchar_t* JournalFin = L"Fin de l'exécution : code de sortie %d (%s)";
inline constexpr const wchar_t* JournalErreur = L"Erreur : %s";
inline constexpr const wchar_t* JournalSansProxy = L"accès direct";
inline constexpr const wchar_t* JournalParProxy = L"par le proxy %s";
inline constexpr const wchar_t* JournalRequete = L"HTTP %s %s (%s) : statut %s, %d octets, %d ms";
inline constexpr const wchar_t* JournalRequeteEchec = L"HTTP %s %s (%s) : échec, statut %s, après %d ms : %s";
inline constexpr const wchar_t* JournalConfigHttp =
    L"Configuration HTTP : %s ; proxy système http=%s https=%s exceptions=%s ; proxy personnalisé http=%s "
    L"https=%s exceptions=%s ; configuration automatique=%s ; adresses de test=%s ; identifiants enregistrés "
    L"pour les proxies=%s ; anciennes versions de TLS=%s";
inline constexpr const wchar_t* JournalGenreSysteme = L"paramètres de proxy du système";
inline constexpr const wchar_t* JournalGenreOvalis = L"paramètres personnalisés";
inline constexpr const wchar_t* JournalGenreUrlConfig = L"adresse de configuration automatique";
inline constexpr const wchar_t* JournalGenreWpad = L"détection automatique (WPAD)";
inline constexpr const wchar_t* JournalPropositionOvalis = L"%s : http=%s https=%s exceptions=%s";
inline constexpr const wchar_t* JournalPropositionUrlConfig = L"%s : %s";
inline constexpr const wchar_t* JournalEtatErreurComm = L"pas de réponse";
inline constexpr const wchar_t* JournalEtatAuthProxy = L"authentification du proxy nécessaire";
inline constexpr const wchar_t* JournalEtatErreurServeur = L"réponse du serveur en erreur";
inline constexpr const wchar_t* JournalEtatSucces = L"réussi";
inline constexpr const wchar_t* JournalResultatTest = L"Test de %s : %s (%s) %s";
inline constexpr const wchar_t* JournalPropositionsTrouvees = L"Recherche d'autres configurations : %d proposition(s)";
inline constexpr const wchar_t* JournalPropositionAppliquee = L"Configuration appliquée : %s";
inline constexpr const wchar_t* JournalEtape1 = L"Étape 1/7 : test de l'accès internet";
inline constexpr const wchar_t* JournalAccesInternetReussi = L"Étape 1/7 : accès internet réussi";
inline constexpr const wchar_t* JournalPremiereProposition = L"Étape 1/7 : première proposition retenue : %s";
inline constexpr const wchar_t* JournalEtape2 = L"Étape 2/7 : recherche de l'école %s";
inline constexpr const wchar_t* JournalEcoleTrouvee =
    L"Étape 3/7 : école %s, %s, %s %s, %s ; serveur %s:%d (%s), millésime %s";
inline constexpr const wchar_t* JournalConditionsAcceptees =
    L"Étape 4/7 : conditions générales d'utilisation acceptées par -AccepterConditions";
inline constexpr const wchar_t* JournalEchecEtape = L"Échec : %s";
inline constexpr const wchar_t* JournalAuthProxyManquante =
    L"Le proxy %s demande une authentification que le fichier de configuration partagé %s ne contient pas. Pour "
    L"la fournir : lancez une fois l'assistant à la main sur un poste du réseau et saisissez l'identifiant et le "
    L"mot de passe que le proxy demande ; l'assistant les enregistre dans ce fichier, qu'il suffit ensuite de "
    L"copier au même emplacement sur les autres postes.";
inline constexpr const wchar_t* JournalRaccourciCree = L"Étape 5/7 : raccourci vers le portail créé";
inline constexpr const wchar_t* JournalEchecRaccourci = L"Étape 5/7 : échec de la création du raccourci : %s";
inline constexpr const wchar_t* JournalDesinstallation = L"Étape 6/7 : désinstallation de %s";
inline constexpr const wchar_t* JournalEchecDesinstallation = L"Étape 6/7 : échec de la désinstallation : %s";
inline constexpr const wchar_t* JournalTelechargement = L"Étape 6/7 : téléchargement de l'installation";
inline constexpr const wchar_t* JournalEchecTelechargement = L"Étape 6/7 : échec du téléchargement : %s";
inline constexpr const wchar_t* JournalInstallation =
    L"Étape 6/7 : vérification de la signature et installation du client";
inline constexpr const wchar_t* JournalEchecInstallation = L"Étape 6/7 : échec de l'installation : %s";
inline constexpr const wchar_t* JournalCodeRetourSetup = L"Le programme d'installation s'est terminé avec le code %d";
inline constexpr const wchar_t* JournalConfiguration =
    L"Étape 6/7 : installation réalisée ; étape 7/7 : fichier de connexion";
inline constexpr const wchar_t* JournalEchecLancement = L"Étape 7/7 : échec : %s";
inline constexpr const wchar_t* JournalConnexionSansLancement =
    L"Étape 7/7 : fichier de connexion écrit sans lancer le client (aucune session utilisateur) : %s";
inline constexpr const wchar_t* JournalTermine = L"Étape 7/7 : client NORVEL Primaire configuré";

}  // namespace norvel::Msg
