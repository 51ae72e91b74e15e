#include "cli/CommandLine.h"

#include <cerrno>
#include <exception>
#include <ostream>

#include "cli/ConvertCommand.h"
#include "cli/IbanCommand.h"
#include "cli/OutputCheck.h"
#include "cli/PruefenCommand.h"
#include "cli/RestoreCommand.h"
#include "cli/SearchCommand.h"
#include "core/Version.h"
#include "iban/ConversionHint.h"

namespace zelvan {

namespace {

using CommandFunction = int (*)(const std::vector<std::string>&, CommandEnvironment&);

struct Command {
    std::string_view name;
    CommandFunction run;
};

// The sub-commands by name.
constexpr Command kCommands[] = {
    {"convert", runConvertCommand},
    {"iban", runIbanCommand},
    {"pruefen", runPruefenCommand},
    {"search", runSearchCommand},
    // Lists the backup copies of a database and puts one back.
    {"wiederherstellen", runRestoreCommand},
};

// The hints a conversion writes, as the README lists them.
std::string hintList()
{
    std::string list = "\nHinweise (unter 100: keine IBAN; ab 100: IBAN mit Vorbehalt):\n";
    for (const auto& hint : conversionHints()) {
        list += "  ";
        list += hint.text;
        if (hint.text.ends_with("IBAN-Regel: "))
            list += "<Regel>";
        else if (hint.text.ends_with("BIC: "))
            list += "<BIC>";
        list += '\n';
    }
    return list;
}

// Writes a text to standard output: 0 when all of it arrived, else 1 after saying so.
int printed(const std::string& text, CommandEnvironment& env)
{
    errno = 0;
    env.out << text;
    const int writeError = env.out ? 0 : errno;
    return outputComplete(env.out, env.err, writeError) ? kExitOk : kExitDatabaseError;
}

} // namespace

std::string helpText()
{
    return "Zelvan Konverter: wandelt Bankleitzahl und Kontonummer in IBAN und BIC um.\n"
           "\n"
           "Aufruf:\n"
           "  zelvan-konverter                 öffnet das Programmfenster\n"
           "  zelvan-konverter iban [--bankfile PFAD] [--format N] [--bankname] [--pruefziffer]\n"
           "      liest Zeilen \"BLZ;Kontonummer\" von der Standardeingabe und schreibt je Zeile\n"
           "      \"BLZ;Kontonummer;BIC;IBAN;Hinweis;Bankname\" auf die Standardausgabe\n"
           "  zelvan-konverter convert --format N --db PFAD [--bankfile PFAD] [--festabzug] [--ohne-iban]\n"
           "                          [--bankname] [--pruefziffer] [--protokoll aus|hinweise|alle]\n"
           "                          [--ohne-sicherung] [--probelauf]\n"
           "      liest die Datenbank ein, setzt IBAN und BIC ein, speichert und schreibt die Berichte;\n"
           "      vor der ersten Änderung kommt eine Kopie der Datenbank in den Ordner Sicherung_ZELVAN daneben\n"
           "  zelvan-konverter convert --format N --alle ORDNER [die Optionen von convert]\n"
           "      wandelt jede Datenbank des Formats N um, die search unter ORDNER findet, eine nach der\n"
           "      anderen wie --db (Galdo: Personaldaten, dann Festabzüge); die Berichte beginnen mit dem\n"
           "      Dateinamen (MARL007.MDB_Protokoll_ZELVAN.txt, bei einer verknüpften Tondra-Datenbank\n"
           "      mit beiden: TONDRA.MDB_MARL002.MDB_Protokoll_ZELVAN.txt); je Datenbank eine\n"
           "      Fortschrittszeile auf der Standardfehlerausgabe, am Ende eine Übersicht und in ORDNER\n"
           "      Sammelprotokoll_ZELVAN_<Format>_<Startzeit>.csv, etwa\n"
           "      Sammelprotokoll_ZELVAN_Marlo_2026-12-07_233954.csv (_2, wenn der Name vergeben ist)\n"
           "  zelvan-konverter pruefen [--bankfile PFAD]\n"
           "      liest Zeilen \"BLZ;Kontonummer\" von der Standardeingabe und schreibt je Zeile\n"
           "      \"BLZ;Kontonummer;Methode;Ergebnis\", Ergebnis ok, falsch, ohne Prüfziffer, BLZ gelöscht\n"
           "      oder BLZ unbekannt: die Prüfung, die --pruefziffer vor einer Umwandlung macht; ohne\n"
           "      Prüfziffer auch für Konten, die eine IBAN-Regel der Bank ersetzt, umstellt oder ausnimmt\n"
           "  zelvan-konverter search --format N ORDNER\n"
           "      sucht unter ORDNER die Datenbanken des Formats N und schreibt je Fund\n"
           "      \"Mandant;Ordner;zuletzt geändert\", zuletzt die Zahl der Funde; jeden Ordner, der nicht\n"
           "      gelesen werden konnte, nennt sie auf der Standardfehlerausgabe (Exit-Status 1)\n"
           "  zelvan-konverter wiederherstellen --format N --db PFAD [--kopie DATEI]\n"
           "      ohne --kopie: listet die Sicherungskopien der Datenbank, die neueste zuerst, je Kopie\n"
           "      \"Kopie;Zeit;Bytes;Datensätze;Prüfung\"; mit --kopie: prüft die Kopie, sichert den jetzigen Stand\n"
           "      und spielt die Kopie zurück\n"
           "  zelvan-konverter --help          zeigt diese Hilfe\n"
           "  zelvan-konverter --version       zeigt die Programmversion\n"
           "\n"
           "Optionen:\n"
           "  --bankfile PFAD   BLZ-Datei der Bundesbank (Vorgabe: ZELVANBLZ4.txt im Programmordner)\n"
           "  --format N        Mandantenformat: 1 Marlo OP, 2 Tondra, 3 Dorvan, 4 Galdo (bei iban Vorgabe 1)\n"
           "  --festabzug       Galdo: die Festabzüge statt der Personaldaten umwandeln (ohne Wirkung mit --alle)\n"
           "  --ohne-iban       Datensätze mit vorhandener IBAN auslassen\n"
           "  --protokoll WERT  aus, hinweise (nur Hinweise) oder alle (alle Daten)\n"
           "  --bankname        Bankname aus dem BLZ-Bestand übernehmen\n"
           "  --pruefziffer     Kontonummern vorher mit der Prüfziffermethode ihrer Bank prüfen (Hinweis 10)\n"
           "  --ohne-sicherung  keine Sicherungskopie der Datenbank vor ihrer ersten Änderung\n"
           "  --probelauf       in einer temporären Kopie umwandeln: keine Datei ändert sich; Berichte und\n"
           "                    Sammelprotokoll mit Probelauf_ vor dem Namen\n"
           "\n"
           "Exit-Status:\n"
           "  0  fertig\n"
           "  1  eine Datenbank oder Ausgabe konnte nicht geöffnet, gelesen oder geschrieben werden\n"
           "  2  falsche Argumente oder unbrauchbare BLZ-Datei\n"
           "  3  gespeichert, aber einzelne Datensätze nicht (in der Zusammenfassung genannt)\n"
           "  4  gespeichert, aber Protokoll, CSV-Datei, Sammelprotokoll oder Ausgabe nicht geschrieben\n"
           "  bei --alle: 1, wenn eine Datenbank nicht umgewandelt, ein Ordner nicht gelesen oder keine\n"
           "  Datenbank gefunden wurde, sonst 4, sonst 3\n"
           "  bei wiederherstellen: 1, wenn ein anderes Programm die Datenbank benutzt; 2, wenn die Kopie\n"
           "  nicht vollständig, verändert, beschädigt oder von einem anderen Format ist\n" +
           hintList();
}

std::string versionText()
{
    return std::string(kProgramName) + " " + kShortVersionText;
}

int runCommandLine(const std::vector<std::string>& args, CommandEnvironment& env)
{
    try {
        if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "hilfe")
            return printed(helpText(), env);
        if (args[0] == "--version")
            return printed(versionText() + '\n', env);
        for (const auto& command : kCommands) {
            if (args[0] == command.name)
                return command.run(args, env);
        }
        env.err << "Unbekannter Befehl \"" << args[0] << "\".\n\n" << helpText();
        return kExitUsage;
    } catch (const std::exception& error) {
        env.err << "Unerwarteter Fehler: " << error.what() << '\n';
        return kExitUsage;
    }
}

} // namespace zelvan
