#include "session/catalogue_check.h"

#include "base/job_runner.h"
#include "session/catalogue_maps.h"
#include "session/map_pick.h"
#include "model/catalogue/catalogue.h"
#include "model/rom/cartridge_header.h"
#include "model/rom/rom_image.h"
#include "model/patches/mart_patch.h"
#include "model/patches/option_patch.h"
#include "model/patches/start_menu_patch.h"

#include <QSet>

#include <vector>

namespace {

// Maps handed out ahead of the one whose problems are added next.
constexpr int JobsAheadPerThread = 4;
constexpr int MapsPerJob = 16;

QString hex(qint64 offset)
{
    return QString::number(offset, 16).toUpper();
}

// A message that does not name its map gets the name in front.
QString namingMap(const QString& name, const QString& message)
{
    const QString quoted = QLatin1Char('"') + name + QLatin1Char('"');
    return message.contains(quoted) ? message : QStringLiteral("Map %1: %2").arg(quoted, message);
}

bool isByte(qint32 value)
{
    return value >= 0 && value <= 255;
}

} // namespace

QString CatalogueReport::summary() const
{
    return QStringLiteral("Checked %1 maps (%2 with problems), %3 options (%4 with problems), "
                          "8 start menu entries and the marts patch: %5 problems.")
        .arg(maps).arg(faultyMaps).arg(options).arg(faultyOptions).arg(problems.size());
}

QString CatalogueReport::text() const
{
    QString all;
    for (const QString& line : lines())
        all += line + QLatin1Char('\n');
    return all + summary() + QLatin1Char('\n');
}

CatalogueReport CatalogueCheck::run(const Steps& steps, bool* whole) const
{
    CatalogueReport report;
    const bool allMaps = checkMaps(report, steps);
    if (whole)
        *whole = allMaps;
    if (!allMaps)
        return report;
    checkOptions(report);
    checkPatches(report);
    checkHeader(report);
    return report;
}

bool CatalogueCheck::checkMaps(CatalogueReport& report, const Steps& steps) const
{
    // A map listed in two categories is the same map: checked once.
    QSet<QString> checked;
    TilePictureCache pictures;
    JobRunner jobs(m_threads <= 1 ? 0 : m_threads, JobsAheadPerThread * m_threads);
    const QList<CatalogueMap> maps = catalogueMaps(m_catalogue.MainIni);
    const int listed = int(maps.size());
    // A map's check takes microseconds: maps go to the threads in runs, so
    // handing a job over costs less than the job.
    struct Listed {
        QString name;
        int place;
    };
    std::vector<Listed> run;
    const auto sendRun = [&] {
        if (run.empty())
            return;
        jobs.add([this, &report, &pictures, &steps, listed, run = std::move(run)](JobRunner::Job&) -> JobRunner::Handover {
            std::vector<QStringList> found;
            found.reserve(run.size());
            for (const Listed& map : run) {
                QStringList problems = mapPickProblems(m_catalogue, m_rom, map.name, &pictures);
                for (QString& problem : problems)
                    problem = namingMap(map.name, problem);
                found.push_back(std::move(problems));
            }
            return {[&report, &steps, listed, run, found = std::move(found)] {
                for (size_t k = 0; k < run.size(); ++k) {
                    if (!found[k].isEmpty())
                        ++report.faultyMaps;
                    report.problems += found[k];
                    if (steps.mapChecked)
                        steps.mapChecked(found[k], run[k].place, listed);
                }
            }};
        });
        run = {};
    };
    bool whole = true;
    for (qsizetype i = 0; i < maps.size(); ++i) {
        const CatalogueMap& map = maps[i];
        if (steps.stopped && steps.stopped()) {
            whole = false;
            break;
        }
        if (checked.contains(map.name))
            continue;
        checked.insert(map.name);
        ++report.maps;
        run.push_back({map.name, int(i + 1)});
        if (int(run.size()) >= MapsPerJob)
            sendRun();
    }
    sendRun();   // the maps counted are the maps checked, also when stopped
    jobs.finish();
    return whole;
}

void CatalogueCheck::checkOptions(CatalogueReport& report) const
{
    for (const QString& section : m_catalogue.OptionsIni.sections()) {
        ++report.options;
        const RomOption option = readRomOption(m_catalogue.OptionsIni, section);
        const QString name = QStringLiteral("Option \"%1\"").arg(section);
        QStringList problems;
        if (!option.offset)
            problems << QStringLiteral("%1 has no \"Offset\".").arg(name);
        else if (!romOptionUsable(m_rom, option))
            problems << QStringLiteral("%1: its byte at %2 lies outside the ROM image.").arg(name, hex(*option.offset));
        // The dialog writes the low 8 bits of a value; anything else is a slip.
        if (!isByte(option.changedValue))
            problems << QStringLiteral("%1: its \"Changed value\" %2 is not a byte.").arg(name).arg(option.changedValue);
        if (!isByte(option.defaultValue))
            problems << QStringLiteral("%1: its \"Default value\" %2 is not a byte.").arg(name).arg(option.defaultValue);
        if (!problems.isEmpty())
            ++report.faultyOptions;
        report.problems += problems;
    }
}

void CatalogueCheck::checkPatches(CatalogueReport& report) const
{
    for (const StartMenuEntry& entry : StartMenuEntries) {
        if (startMenuEntryInside(m_rom, entry.offset))
            continue;
        report.problems << QStringLiteral("Start menu entry \"%1\": its bytes at %2 lie outside the ROM image.")
                               .arg(QString::fromLatin1(entry.caption), hex(entry.offset));
        ++report.patchProblems;
    }
    if (!freeMartsPatchFits(m_rom)) {
        report.problems << QStringLiteral("This ROM image is too small for the marts patch.");
        ++report.patchProblems;
    }
}

void CatalogueCheck::checkHeader(CatalogueReport& report) const
{
    using namespace CartridgeHeader;
    const std::optional<Checksums> sums = checksums(m_rom.bytes());
    if (!sums) {
        report.problems << QStringLiteral("This ROM image is too small for a cartridge header (%1 bytes).").arg(HeaderEnd);
        return;
    }
    if (!sums->headerMatches())
        report.problems << QStringLiteral("The header checksum at %1 is %2, but bytes %3 to %4 give %5: "
                                          "the console does not start this image.")
                               .arg(hex(HeaderChecksumOffset), hex(sums->storedHeader), hex(ChecksummedStart),
                                    hex(HeaderChecksumOffset - 1), hex(sums->header));
    if (!sums->globalMatches())
        report.notes << QStringLiteral("Information: the global checksum at %1 is %2, but the image sums to %3 "
                                       "(the console does not check it).")
                            .arg(hex(GlobalChecksumOffset), hex(sums->storedGlobal), hex(sums->global));
}
