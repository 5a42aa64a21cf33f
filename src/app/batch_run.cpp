#include "app/batch_run.h"

#include "app/catalogue_maps.h"
#include "app/editor_state.h"

#include <QFileInfo>
#include <QTextStream>

int runBatch(const CommandLine& line, const QString& programDir, QTextStream& out, QTextStream& err)
{
    if (!line.isBatch())
        return ExitUsage;
    if (!line.catalogueDir.isEmpty() && !QFileInfo(line.catalogueDir).isDir()) {
        err << "Cannot open folder " << line.catalogueDir << '\n';
        return ExitProblems;
    }
    EditorState state(line.catalogueDir.isEmpty() ? programDir : line.catalogueDir);
    QString error;
    if (!state.core.rom.loadFromFile(line.rom, &error)) {
        err << error << '\n';
        return ExitProblems;
    }
    state.core.RomFileName = line.rom;

    switch (line.action) {
    case CommandLine::Action::ListMaps:
        for (const CatalogueMap& map : catalogueMaps(state.core.catalogue.MainIni))
            out << map.category << '\t' << map.name << '\n';
        return ExitSuccess;
    default:
        // The map actions run the editor's map pick, which this build does
        // not offer to batch work yet.
        err << "This action is not available in this build yet.\n";
        return ExitProblems;
    }
}
