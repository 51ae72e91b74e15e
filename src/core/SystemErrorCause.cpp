#include "core/SystemErrorCause.h"

#include <algorithm>
#include <cerrno>
#include <iterator>

namespace zelvan {

namespace {

struct SystemErrorEntry {
    int number;
    std::string_view words;
};

// Operating-system error numbers -> the one German wording every message uses.
constexpr SystemErrorEntry kSystemErrors[] = {
    {EEXIST, "Die Datei ist schon vorhanden"},
    {ENOENT, "Die Datei oder der Ordner ist nicht vorhanden"},
    {EACCES, "Keine Berechtigung"},
    {EPERM, "Nicht erlaubt: die Datei oder der Ordner ist gesperrt"},
    {EROFS, "Das Dateisystem ist schreibgeschützt"},
    {ENOSPC, "Der Datenträger ist voll"},
    {EDQUOT, "Der zugeteilte Speicherplatz ist aufgebraucht"},
    {EBUSY, "Die Datei oder der Datenträger ist belegt"},
    {EIO, "Ein- oder Ausgabefehler des Datenträgers"},
    {ENOTDIR, "Ein Teil des Pfads ist kein Ordner"},
    {EISDIR, "Der Pfad ist ein Ordner"},
    {ELOOP, "Zu viele symbolische Verknüpfungen im Pfad"},
    {ENAMETOOLONG, "Der Name ist zu lang"},
    {EMFILE, "Zu viele offene Dateien"},
    {ENFILE, "Zu viele offene Dateien im System"},
    {EFBIG, "Die Datei wird zu groß"},
    {EMLINK, "Der Ordner hat zu viele Einträge"},
    {ENOTEMPTY, "Der Ordner ist nicht leer"},
    {EXDEV, "Die Pfade liegen auf verschiedenen Datenträgern"},
    {ETXTBSY, "Die Datei wird gerade ausgeführt"},
    {EINVAL, "Ungültiger Aufruf für diese Datei"},
    {ENODEV, "Das Gerät ist nicht vorhanden"},
    {ENXIO, "Das Gerät ist nicht erreichbar"},
    {EAGAIN, "Die Datei ist vorübergehend gesperrt"},
    {ENOMEM, "Nicht genug Arbeitsspeicher"},
    {ESTALE, "Die Datei auf dem Netzlaufwerk ist nicht mehr gültig"},
    {ETIMEDOUT, "Zeitüberschreitung beim Zugriff"},
    {ENOTSUP, "Der Datenträger unterstützt diesen Vorgang nicht"},
};

// The words above that start with a noun and so keep their capital inside a line.
constexpr std::string_view kLeadingNouns[] = {"Zeitüberschreitung"};

} // namespace

std::string_view systemErrorWords(int errorNumber)
{
    for (const auto& entry : kSystemErrors) {
        if (entry.number == errorNumber)
            return entry.words;
    }
    return {};
}

std::string systemErrorCause(int errorNumber)
{
    const auto words = systemErrorWords(errorNumber);
    return (words.empty() ? std::string("Systemfehler") : std::string(words)) + " (Fehler " +
           std::to_string(errorNumber) + ")";
}

std::string systemErrorCauseInLine(int errorNumber)
{
    std::string words(systemErrorWords(errorNumber));
    if (words.empty())
        return "Systemfehler " + std::to_string(errorNumber);
    const bool noun = std::any_of(std::begin(kLeadingNouns), std::end(kLeadingNouns),
                                  [&](std::string_view leading) { return words.starts_with(leading); });
    if (!noun && words[0] >= 'A' && words[0] <= 'Z')
        words[0] = static_cast<char>(words[0] - 'A' + 'a');
    return words;
}

} // namespace zelvan
