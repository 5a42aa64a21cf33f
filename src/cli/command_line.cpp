#include "cli/command_line.h"

#include "base/catalogue_integer.h"
#include "model/rom/patch_file.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QTextStream>
#include <QThread>

#include <array>
#include <vector>

namespace {

// Options that take two values, MAP and FILE. The parser knows one value per
// option, so the second is taken off the list before it parses.
constexpr std::array<const char*, 6> TwoValueOptions{
    "export-map-picture", "export-tileset-picture", "export-map", "import-map", "make-patch", "tiles-from-rom"};

// Every option, in the order the help text lists them.
enum OptionId {
    Help, Version, Catalogue, ListMaps, Check, MapPicture, TilesetPicture, Grid, ExportMap, ImportMap, MakePatch,
    ApplyPatch, Script, Arg, ScriptTimeout, ScriptMemory, Output, Force, Pictures, Threads, NewMap, Category, Start, Width, Height,
    Tileset, TilesFromRom, Palette, ExportTiled, ImportTiled, MapName, OptionCount
};

struct OptionText {
    const char* names;   // separated by commas
    const char* value;   // none: a switch
    const char* help;
};

// In OptionId's order.
constexpr OptionText OptionTexts[OptionCount] = {
    {"h,help", "", "Print this text and exit."},
    {"v,version", "", "Print the version and exit."},
    {"catalogue", "DIR", "Read the catalogue files and tile pictures from DIR instead of the program's folder."},
    {"list-maps", "", "Print every map: category, a tab, map name."},
    {"check", "", "Check every map and option of the catalogue against ROM."},
    {"export-map-picture", "MAP> <FILE", "Write the picture of map MAP to FILE (.png: PNG, else 24-bit BMP)."},
    {"export-tileset-picture", "MAP> <FILE", "Write the block palette of map MAP's tileset to FILE."},
    {"grid", "", "Draw the grid into pictures."},
    {"export-map", "MAP> <FILE", "Write the map file of map MAP, as ROM holds it, to FILE."},
    {"import-map", "MAP> <FILE", "Apply map file FILE to map MAP and write the image to OUT."},
    {"make-patch", "ORIGINAL> <FILE", "Write the patch that turns image ORIGINAL into ROM to FILE (.ips or .bps)."},
    {"apply-patch", "PATCH", "Apply IPS or BPS patch PATCH to ROM and write the image to OUT."},
    {"script", "FILE", "Run JavaScript file FILE on ROM; an image it changes goes to OUT."},
    {"arg", "VALUE", "Hand VALUE to the script in args; may be given again."},
    {"script-timeout", "SECONDS", "Stop a script that runs longer than SECONDS (default 30)."},
    {"script-memory", "MIB", "End a script that takes more than MIB MiB of memory (default 1024)."},
    {"output", "OUT", "The image file --import-map, --import-tiled, --apply-patch and --script write."},
    {"force", "", "Apply a map file whose length is not the map's."},
    {"export-pictures", "DIR", "Write every map's picture into DIR."},
    {"threads", "N", "Spread --check and --export-pictures over N threads (default: one a core)."},
    {"new-map", "NAME", "Add map NAME to the catalogue (with --category, --start, --width, --height and --tileset)."},
    {"category", "C", "The category of --new-map."},
    {"start", "OFFSET", "The offset of --new-map's first block byte."},
    {"width", "W", "The width of --new-map in blocks."},
    {"height", "H", "The height of --new-map in blocks."},
    {"tileset", "T", "The tileset of --new-map."},
    {"tiles-from-rom", "TILESET> <OFFSET", "Draw the tile picture of tileset TILESET from the 96 2-bit tiles at OFFSET of ROM."},
    {"palette", "OFFSET", "Colour --tiles-from-rom with the four 15-bit colours at OFFSET (default: four greys)."},
    {"export-tiled", "DIR", "Write every map (or each --map) into DIR as Tiled maps, with their tilesets and a world per category."},
    {"import-tiled", "FILE|DIR", "Apply Tiled map FILE.tmx, or every .tmx of DIR, to the maps they name and write the image to OUT."},
    {"map", "NAME", "The map of --export-tiled (may be given again) or of --import-tiled."},
};

struct Options {
    std::vector<QCommandLineOption> all;

    Options()
    {
        for (const OptionText& text : OptionTexts)
            all.emplace_back(QString::fromLatin1(text.names).split(QLatin1Char(',')), QString::fromUtf8(text.help),
                             QString::fromLatin1(text.value));
    }
    const QCommandLineOption& operator[](OptionId id) const { return all[size_t(id)]; }

    void addTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(QStringLiteral("Kartola, a map editor for Game Boy Color ROM images."));
        parser.addPositionalArgument(QStringLiteral("ROM"), QStringLiteral("The ROM image to open."),
                                     QStringLiteral("[ROM]"));
        for (const QCommandLineOption& option : all)
            parser.addOption(option);
    }
};

// The whole number from 1 to `max` given to `option` (set), into
// `value`; else the usage error's text. `unit` names what it counts.
QString wholeNumber(const QCommandLineParser& parser, const QCommandLineOption& option, const QString& unit, int max,
                    int* value)
{
    const QString given = parser.value(option);
    bool number = false;
    *value = given.toInt(&number);
    if (number && *value >= 1 && *value <= max)
        return {};
    return QStringLiteral("--%1 takes a whole number%2 from 1 to %3, not %4.")
        .arg(option.names().constFirst(), unit)
        .arg(max)
        .arg(given);
}

bool isTwoValueOption(const QString& argument, QString* name)
{
    if (!argument.startsWith(QStringLiteral("--")))
        return false;
    const QString bare = argument.mid(2).section(QLatin1Char('='), 0, 0);
    for (const char* option : TwoValueOptions)
        if (bare == QLatin1String(option)) {
            *name = bare;
            return true;
        }
    return false;
}

CommandLine usageError(const QString& text)
{
    CommandLine line;
    line.action = CommandLine::Action::UsageError;
    line.error = text;
    return line;
}

// The values of --new-map and --tiles-from-rom; an error text, or empty.
QString parseCatalogueOptions(const QCommandLineParser& parser, const Options& options, const QString& chosen,
                              CommandLine* line)
{
    const bool newMap = line->action == CommandLine::Action::NewMap;
    const bool tiles = line->action == CommandLine::Action::TilesFromRom;
    auto number = [&](const QString& text, const QString& what, qint64* out) {
        const std::optional<qint32> value = parseCatalogueInteger(text.trimmed());
        if (!value)
            return QStringLiteral("%1 takes a number (decimal, $1A2B or 0x1A2B), not \"%2\".").arg(what, text);
        *out = *value;
        return QString();
    };
    const QList<const QCommandLineOption*> mapOptions{&options[Category], &options[Start], &options[Width],
                                                      &options[Height], &options[Tileset]};
    for (const QCommandLineOption* option : mapOptions) {
        const QString name = QStringLiteral("--") + option->names().constFirst();
        if (!newMap) {
            if (parser.isSet(*option))
                return QStringLiteral("%1 belongs to --new-map.").arg(name);
            continue;
        }
        if (!parser.isSet(*option))
            return QStringLiteral("--new-map needs %1.").arg(name);
        if (option == &options[Category]) {
            line->category = parser.value(*option);
            continue;
        }
        qint64* out = option == &options[Start] ? &line->start
            : option == &options[Width]         ? &line->width
            : option == &options[Height]        ? &line->height
                                               : &line->tileset;
        const QString problem = number(parser.value(*option), name, out);
        if (!problem.isEmpty())
            return problem;
    }
    if (parser.isSet(options[Palette]) && !tiles)
        return QStringLiteral("--palette belongs to --tiles-from-rom.");
    if (tiles) {
        QString problem = number(line->map, QStringLiteral("TILESET of %1").arg(chosen), &line->tileset);
        if (problem.isEmpty())
            problem = number(line->file, QStringLiteral("OFFSET of %1").arg(chosen), &line->start);
        if (problem.isEmpty() && parser.isSet(options[Palette])) {
            qint64 at = 0;
            problem = number(parser.value(options[Palette]), QStringLiteral("--palette"), &at);
            line->palette = at;
        }
        line->map.clear();
        line->file.clear();
        return problem;
    }
    return {};
}

} // namespace

bool CommandLine::isBatch() const
{
    switch (action) {
    case Action::OpenWindow:
    case Action::Help:
    case Action::Version:
    case Action::UsageError:
        return false;
    default:
        return true;
    }
}

int batchThreads(const CommandLine& line)
{
    return line.threads > 0 ? line.threads : qMax(1, QThread::idealThreadCount());
}

QString versionText()
{
    return QStringLiteral("Kartola 1.3");
}

QString commandLineUsage()
{
    QCommandLineParser parser;
    Options options;
    options.addTo(parser);
    // The parser's own text starts with the path the program was started by;
    // the usage line names the command instead.
    QString text = parser.helpText();
    const qsizetype firstLineEnd = text.indexOf(QLatin1Char('\n'));
    text.replace(0, firstLineEnd, QStringLiteral("Usage: kartola [options] [ROM]"));
    return text;
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    // Take the FILE of each two-value option off the list.
    QStringList rest;
    QHash<QString, QString> secondValues;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QStringLiteral("--")) {
            rest += arguments.mid(i);
            break;
        }
        QString name;
        if (i == 0 || !isTwoValueOption(argument, &name)) {
            rest << argument;
            continue;
        }
        const bool joined = argument.contains(QLatin1Char('='));
        const qsizetype fileIndex = joined ? i + 1 : i + 2;
        if (fileIndex >= arguments.size())
            return usageError(name == QLatin1String("make-patch")       ? QStringLiteral("--make-patch needs ORIGINAL and FILE.")
                              : name == QLatin1String("tiles-from-rom") ? QStringLiteral("--tiles-from-rom needs TILESET and OFFSET.")
                                                                        : QStringLiteral("--%1 needs MAP and FILE.").arg(name));
        rest << argument;
        if (!joined)
            rest << arguments.at(i + 1);
        secondValues.insert(name, arguments.at(fileIndex));
        i = fileIndex;
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    Options options;
    options.addTo(parser);
    if (!parser.parse(rest))
        return usageError(parser.errorText());

    CommandLine line;
    if (parser.isSet(options[Help])) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (parser.isSet(options[Version])) {
        line.action = CommandLine::Action::Version;
        return line;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return usageError(QStringLiteral("Only one ROM image can be given, not %1.").arg(positional.size()));
    line.rom = positional.value(0);
    line.catalogueDir = parser.value(options[Catalogue]);
    line.grid = parser.isSet(options[Grid]);
    line.force = parser.isSet(options[Force]);
    line.output = parser.value(options[Output]);

    struct Choice {
        const QCommandLineOption* option;
        CommandLine::Action action;
    };
    const Choice choices[] = {
        {&options[ListMaps], CommandLine::Action::ListMaps},
        {&options[Check], CommandLine::Action::Check},
        {&options[MapPicture], CommandLine::Action::ExportMapPicture},
        {&options[TilesetPicture], CommandLine::Action::ExportTilesetPicture},
        {&options[ExportMap], CommandLine::Action::ExportMap},
        {&options[ImportMap], CommandLine::Action::ImportMap},
        {&options[Pictures], CommandLine::Action::ExportPictures},
        {&options[MakePatch], CommandLine::Action::MakePatch},
        {&options[ApplyPatch], CommandLine::Action::ApplyPatch},
        {&options[Script], CommandLine::Action::RunScript},
        {&options[NewMap], CommandLine::Action::NewMap},
        {&options[TilesFromRom], CommandLine::Action::TilesFromRom},
        {&options[ExportTiled], CommandLine::Action::ExportTiled},
        {&options[ImportTiled], CommandLine::Action::ImportTiled},
    };
    QStringList chosen;
    for (const Choice& choice : choices) {
        if (!parser.isSet(*choice.option))
            continue;
        chosen << QStringLiteral("--") + choice.option->names().constFirst();
        line.action = choice.action;
        if (choice.action == CommandLine::Action::ExportPictures || choice.action == CommandLine::Action::ApplyPatch ||
            choice.action == CommandLine::Action::RunScript || choice.action == CommandLine::Action::ExportTiled ||
            choice.action == CommandLine::Action::ImportTiled) {
            line.file = parser.value(*choice.option);
        } else if (!choice.option->valueName().isEmpty()) {
            line.map = parser.value(*choice.option);
            line.file = secondValues.value(choice.option->names().constFirst());
        }
    }
    if (chosen.size() > 1)
        return usageError(QStringLiteral("Give one of %1, not several.").arg(chosen.join(QStringLiteral(", "))));
    if (line.isBatch() && line.rom.isEmpty())
        return usageError(QStringLiteral("%1 needs a ROM image.").arg(chosen.constFirst()));
    const bool writesImage = line.action == CommandLine::Action::ImportMap ||
        line.action == CommandLine::Action::ApplyPatch || line.action == CommandLine::Action::ImportTiled;
    if (writesImage && line.output.isEmpty())
        return usageError(QStringLiteral("%1 needs --output OUT.").arg(chosen.constFirst()));
    // A script writes OUT only when it changes the image, and may run without it.
    if (!writesImage && line.action != CommandLine::Action::RunScript && parser.isSet(options[Output]))
        return usageError(
            QStringLiteral("--output belongs to --import-map, --import-tiled, --apply-patch and --script."));
    line.maps = parser.values(options[MapName]);
    if (!line.maps.isEmpty() && line.action != CommandLine::Action::ExportTiled &&
        line.action != CommandLine::Action::ImportTiled)
        return usageError(QStringLiteral("--map belongs to --export-tiled and --import-tiled."));
    if (line.action == CommandLine::Action::ImportTiled && line.maps.size() > 1)
        return usageError(QStringLiteral("--import-tiled takes one --map, not %1.").arg(line.maps.size()));
    if (line.action != CommandLine::Action::RunScript &&
        (parser.isSet(options[Arg]) || parser.isSet(options[ScriptTimeout]) || parser.isSet(options[ScriptMemory])))
        return usageError(QStringLiteral("--arg, --script-timeout and --script-memory belong to --script."));
    line.scriptArgs = parser.values(options[Arg]);
    if (parser.isSet(options[ScriptTimeout])) {
        const QString error = wholeNumber(parser, options[ScriptTimeout], QStringLiteral(" of seconds"),
                                          CommandLine::MaxScriptTimeoutSeconds, &line.scriptTimeoutSeconds);
        if (!error.isEmpty())
            return usageError(error);
    }
    if (parser.isSet(options[ScriptMemory])) {
        int mib = 0;
        const QString error = wholeNumber(parser, options[ScriptMemory], QStringLiteral(" of MiB"),
                                          int(CommandLine::MaxScriptMemoryMiB), &mib);
        if (!error.isEmpty())
            return usageError(error);
        line.scriptMemoryMiB = mib;
    }
    if (parser.isSet(options[Threads])) {
        if (line.action != CommandLine::Action::Check && line.action != CommandLine::Action::ExportPictures)
            return usageError(QStringLiteral("--threads belongs to --check and --export-pictures."));
        const QString error = wholeNumber(parser, options[Threads], {}, CommandLine::MaxThreads, &line.threads);
        if (!error.isEmpty())
            return usageError(error);
    }
    const QString catalogueProblem = parseCatalogueOptions(parser, options, chosen.value(0), &line);
    if (!catalogueProblem.isEmpty())
        return usageError(catalogueProblem);
    if (line.action != CommandLine::Action::ImportMap && line.force)
        return usageError(QStringLiteral("--force belongs to --import-map."));
    if (line.action == CommandLine::Action::MakePatch) {
        line.original = line.map;
        line.map.clear();
        if (!patchFormatFor(line.file))
            return usageError(QStringLiteral("--make-patch writes a .ips or a .bps file, not %1.").arg(line.file));
    }
    return line;
}

int answerCommandLine(const CommandLine& line, QTextStream& out, QTextStream& err)
{
    switch (line.action) {
    case CommandLine::Action::Help:
        out << commandLineUsage();
        out.flush();
        return ExitSuccess;
    case CommandLine::Action::Version:
        out << versionText() << '\n';
        out.flush();
        return ExitSuccess;
    default:
        err << line.error << "\n\n" << commandLineUsage();
        err.flush();
        return ExitUsage;
    }
}
