#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for. `kartola [ROM]` opens the window; the batch
// actions run on ROM without any window and end with an exit status.
struct CommandLine {
    static constexpr int DefaultScriptTimeoutSeconds = 30;
    static constexpr int MaxScriptTimeoutSeconds = 86400;
    static constexpr int MaxThreads = 256;
    static constexpr qint64 DefaultScriptMemoryMiB = 1024;
    static constexpr qint64 MaxScriptMemoryMiB = 1024 * 1024;

    enum class Action {
        OpenWindow,
        Help,
        Version,
        UsageError,
        ListMaps,
        Check,
        ExportMapPicture,
        ExportTilesetPicture,
        ExportMap,
        ImportMap,
        ExportPictures,
        MakePatch,
        ApplyPatch,
        RunScript,
        NewMap,
        TilesFromRom,
        ExportTiled,
        ImportTiled,
    };

    Action action = Action::OpenWindow;
    QString rom;             // the ROM image; may be empty for OpenWindow only
    QString catalogueDir;    // empty: the program's own folder
    QString map;             // MAP of the map actions
    QString file;            // FILE of the map actions and --script, DIR of --export-pictures and --export-tiled,
                             // FILE.tmx or DIR of --import-tiled
    QStringList maps;        // the values of --map, in order
    QString original;        // ORIGINAL of --make-patch
    QString output;          // OUT of --import-map, --import-tiled, --apply-patch and --script
    bool grid = false;       // draw the grid into pictures
    bool force = false;      // accept a map file of another length
    QStringList scriptArgs;  // the values of --arg, in order
    int scriptTimeoutSeconds = DefaultScriptTimeoutSeconds;
    qint64 scriptMemoryMiB = DefaultScriptMemoryMiB;   // the bound of --script-memory
    int threads = 0;         // threads of --check and --export-pictures; 0: one a core
    QString error;           // UsageError: what was wrong
    // --new-map NAME (in `map`) and --tiles-from-rom TILESET OFFSET: numbers
    // in the catalogue's syntax (decimal, $1A2B or 0x1A2B).
    QString category;
    qint64 start = 0;        // --start, and OFFSET of --tiles-from-rom
    qint64 width = 0;
    qint64 height = 0;
    qint64 tileset = 0;      // --tileset, and TILESET of --tiles-from-rom
    std::optional<qint64> palette;

    bool isBatch() const;
};

// Exit statuses of the program.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitProblems = 1;   // the work found problems or failed
inline constexpr int ExitUsage = 2;      // the command line was wrong

// The threads of --check and --export-pictures: --threads, else one a core.
int batchThreads(const CommandLine& line);

// Parses the program's arguments (the first one is the program itself).
CommandLine parseCommandLine(const QStringList& arguments);

// The text printed by --help and, after a usage error, on stderr.
QString commandLineUsage();
// Answers --help and --version on `out`, and a usage error on `err`.
// Returns the exit status.
class QTextStream;
int answerCommandLine(const CommandLine& line, QTextStream& out, QTextStream& err);

// "Kartola 1.3"
QString versionText();
