#include "rules/AppExecErrors.h"

#include <system_error>

#include "rules/ProgramStart.h"

namespace {

struct ErrorRow {
    int number;
    const char* text;
};

// The launcher's texts for its error numbers, in French as users know them: -1 when nothing was
// started, the numbers the system's program-start calls give, and the one check the launcher
// makes itself.
constexpr ErrorRow ErrorTable[] = {
    {-1, "Pas d'exécution"},
    {0, "Système dépassé en capacité mémoire, exécutable corrompu, ou réallocations invalides"},
    {2, "Fichier non trouvé"},
    {3, "Chemin non trouvé"},
    {5, "Tentative de liaison dynamique à une tâche, ou erreur de partage, ou erreur de protection "
        "réseau"},
    {6, "Librairie nécessitant des segments de données séparés pour chaque tâche"},
    {8, "Mémoire insuffisante pour démarrer l'application"},
    {10, "Version de Windows incorrecte"},
    {11, "Exécutable invalide, application non Windows, ou erreur dans l'image du fichier .EXE"},
    {12, "Application écrite pour un système d'exploitation différent"},
    {13, "Application écrite pour MS-DOS 4.0"},
    {14, "Type d'exécutable inconnu"},
    {15, "Tentative de chargement d'une application en mode réel (développée pour une version "
         "antérieure de Windows)"},
    {16, "Tentative de chargement d'une seconde instance d'un exécutable contenant plusieurs "
         "segments de données non marqués en lecture seule"},
    {19, "Tentative de chargement d'un exécutable compressé. Le fichier doit être décompressé "
         "avant de pouvoir être chargé"},
    {20, "Fichier Dynamic-link library (DLL) invalide. Une des DLLs requises pour exécuter cette "
         "application est corrompue"},
    {21, "Application nécessitant des extensions 32-bit"},
    {ErrNoCommandLineTooLong, "Ligne de commande trop longue (511 caractères au plus)"},
};

} // namespace

std::string AppExecErrorText(int errNo, const std::string& program) {
    for (const ErrorRow& row : ErrorTable)
        if (row.number == errNo)
            return row.text;
    // A failed start never says "no error": a number without a row names the failure and its
    // number, with the system's own text where the number is the system's.
    if (const auto systemText = SystemStartErrorText(errNo, program))
        return "Erreur système n° " + std::to_string(errNo) + " : " + *systemText;
    if (errNo < -1) {
        const int systemNumber = -errNo;
        return "Erreur système n° " + std::to_string(systemNumber) + " : " +
               std::system_category().message(systemNumber);
    }
    return "Erreur inconnue n° " + std::to_string(errNo);
}
