#include "cli/command_line.h"

#include "model/rom/patch_file.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QTextStream>
#include <QThread>

#include <array>

namespace {

// Options that take two values, MAP and FILE. The parser knows one value per
// option, so the second is taken off the list before it parses.
constexpr std::array<const char*, 5> TwoValueOptions{
    "export-map-picture", "export-tileset-picture", "export-map", "import-map", "make-patch"};

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Print this text and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Print the version and exit.")};
    QCommandLineOption catalogue{QStringLiteral("catalogue"),
                                 QStringLiteral("Read the catalogue files and tile pictures from DIR "
                                                "instead of the program's folder."),
                                 QStringLiteral("DIR")};
    QCommandLineOption listMaps{QStringLiteral("list-maps"),
                                QStringLiteral("Print every map: category, a tab, map name.")};
    QCommandLineOption check{QStringLiteral("check"),
                             QStringLiteral("Check every map and option of the catalogue against ROM.")};
    QCommandLineOption mapPicture{QStringLiteral("export-map-picture"),
                                  QStringLiteral("Write the picture of map MAP to FILE (.png: PNG, "
                                                 "else 24-bit BMP)."),
                                  QStringLiteral("MAP> <FILE")};
    QCommandLineOption tilesetPicture{QStringLiteral("export-tileset-picture"),
                                      QStringLiteral("Write the block palette of map MAP's tileset to FILE."),
                                      QStringLiteral("MAP> <FILE")};
    QCommandLineOption grid{QStringLiteral("grid"), QStringLiteral("Draw the grid into pictures.")};
    QCommandLineOption exportMap{QStringLiteral("export-map"),
                                 QStringLiteral("Write the map file of map MAP, as ROM holds it, to FILE."),
                                 QStringLiteral("MAP> <FILE")};
    QCommandLineOption importMap{QStringLiteral("import-map"),
                                 QStringLiteral("Apply map file FILE to map MAP and write the image to OUT."),
                                 QStringLiteral("MAP> <FILE")};
    QCommandLineOption makePatch{QStringLiteral("make-patch"),
                                 QStringLiteral("Write the patch that turns image ORIGINAL into ROM to FILE "
                                                "(.ips or .bps)."),
                                 QStringLiteral("ORIGINAL> <FILE")};
    QCommandLineOption applyPatch{QStringLiteral("apply-patch"),
                                  QStringLiteral("Apply IPS or BPS patch PATCH to ROM and write the image to OUT."),
                                  QStringLiteral("PATCH")};
    QCommandLineOption output{QStringLiteral("output"),
                              QStringLiteral("The image file --import-map, --apply-patch and --script write."),
                              QStringLiteral("OUT")};
    QCommandLineOption script{QStringLiteral("script"),
                              QStringLiteral("Run JavaScript file FILE on ROM; an image it changes goes to OUT."),
                              QStringLiteral("FILE")};
    QCommandLineOption arg{QStringLiteral("arg"),
                           QStringLiteral("Hand VALUE to the script in args; may be given again."),
                           QStringLiteral("VALUE")};
    QCommandLineOption scriptTimeout{QStringLiteral("script-timeout"),
                                     QStringLiteral("Stop a script that runs longer than SECONDS (default 30)."),
                                     QStringLiteral("SECONDS")};
    QCommandLineOption scriptMemory{QStringLiteral("script-memory"),
                                    QStringLiteral("End a script that takes more than MIB MiB of memory (default 1024)."),
                                    QStringLiteral("MIB")};
    QCommandLineOption threads{QStringLiteral("threads"),
                               QStringLiteral("Spread --check and --export-pictures over N threads "
                                              "(default: one a core)."),
                               QStringLiteral("N")};
    QCommandLineOption force{QStringLiteral("force"),
                             QStringLiteral("Apply a map file whose length is not the map's.")};
    QCommandLineOption pictures{QStringLiteral("export-pictures"),
                                QStringLiteral("Write every map's picture into DIR."), QStringLiteral("DIR")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(QStringLiteral("Kartola, a map editor for Game Boy Color ROM images."));
        parser.addPositionalArgument(QStringLiteral("ROM"), QStringLiteral("The ROM image to open."),
                                     QStringLiteral("[ROM]"));
        for (const QCommandLineOption* option : {&help, &version, &catalogue, &listMaps, &check, &mapPicture,
                                                 &tilesetPicture, &grid, &exportMap, &importMap, &makePatch,
                                                 &applyPatch, &script, &arg, &scriptTimeout, &scriptMemory, &output, &force, &pictures,
                                                 &threads})
            parser.addOption(*option);
    }
};

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
            return usageError(name == QLatin1String("make-patch")
                                  ? QStringLiteral("--make-patch needs ORIGINAL and FILE.")
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
    if (parser.isSet(options.help)) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (parser.isSet(options.version)) {
        line.action = CommandLine::Action::Version;
        return line;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return usageError(QStringLiteral("Only one ROM image can be given, not %1.").arg(positional.size()));
    line.rom = positional.value(0);
    line.catalogueDir = parser.value(options.catalogue);
    line.grid = parser.isSet(options.grid);
    line.force = parser.isSet(options.force);
    line.output = parser.value(options.output);

    struct Choice {
        const QCommandLineOption* option;
        CommandLine::Action action;
    };
    const Choice choices[] = {
        {&options.listMaps, CommandLine::Action::ListMaps},
        {&options.check, CommandLine::Action::Check},
        {&options.mapPicture, CommandLine::Action::ExportMapPicture},
        {&options.tilesetPicture, CommandLine::Action::ExportTilesetPicture},
        {&options.exportMap, CommandLine::Action::ExportMap},
        {&options.importMap, CommandLine::Action::ImportMap},
        {&options.pictures, CommandLine::Action::ExportPictures},
        {&options.makePatch, CommandLine::Action::MakePatch},
        {&options.applyPatch, CommandLine::Action::ApplyPatch},
        {&options.script, CommandLine::Action::RunScript},
    };
    QStringList chosen;
    for (const Choice& choice : choices) {
        if (!parser.isSet(*choice.option))
            continue;
        chosen << QStringLiteral("--") + choice.option->names().constFirst();
        line.action = choice.action;
        if (choice.action == CommandLine::Action::ExportPictures || choice.action == CommandLine::Action::ApplyPatch ||
            choice.action == CommandLine::Action::RunScript) {
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
    const bool writesImage =
        line.action == CommandLine::Action::ImportMap || line.action == CommandLine::Action::ApplyPatch;
    if (writesImage && line.output.isEmpty())
        return usageError(QStringLiteral("%1 needs --output OUT.").arg(chosen.constFirst()));
    // A script writes OUT only when it changes the image, and may run without it.
    if (!writesImage && line.action != CommandLine::Action::RunScript && parser.isSet(options.output))
        return usageError(QStringLiteral("--output belongs to --import-map, --apply-patch and --script."));
    if (line.action != CommandLine::Action::RunScript &&
        (parser.isSet(options.arg) || parser.isSet(options.scriptTimeout) || parser.isSet(options.scriptMemory)))
        return usageError(QStringLiteral("--arg, --script-timeout and --script-memory belong to --script."));
    line.scriptArgs = parser.values(options.arg);
    if (parser.isSet(options.scriptTimeout)) {
        bool number = false;
        const int seconds = parser.value(options.scriptTimeout).toInt(&number);
        if (!number || seconds < 1 || seconds > CommandLine::MaxScriptTimeoutSeconds)
            return usageError(QStringLiteral("--script-timeout takes a whole number of seconds from 1 to %1, not %2.")
                                  .arg(CommandLine::MaxScriptTimeoutSeconds)
                                  .arg(parser.value(options.scriptTimeout)));
        line.scriptTimeoutSeconds = seconds;
    }
    if (parser.isSet(options.scriptMemory)) {
        bool number = false;
        const qint64 mib = parser.value(options.scriptMemory).toLongLong(&number);
        if (!number || mib < 1 || mib > CommandLine::MaxScriptMemoryMiB)
            return usageError(QStringLiteral("--script-memory takes a whole number of MiB from 1 to %1, not %2.")
                                  .arg(CommandLine::MaxScriptMemoryMiB)
                                  .arg(parser.value(options.scriptMemory)));
        line.scriptMemoryMiB = mib;
    }
    if (parser.isSet(options.threads)) {
        if (line.action != CommandLine::Action::Check && line.action != CommandLine::Action::ExportPictures)
            return usageError(QStringLiteral("--threads belongs to --check and --export-pictures."));
        bool number = false;
        const int threads = parser.value(options.threads).toInt(&number);
        if (!number || threads < 1 || threads > CommandLine::MaxThreads)
            return usageError(QStringLiteral("--threads takes a whole number from 1 to %1, not %2.")
                                  .arg(CommandLine::MaxThreads)
                                  .arg(parser.value(options.threads)));
        line.threads = threads;
    }
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
