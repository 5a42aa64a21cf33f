// The INI layer on any file: every listing and read, then a write of a key
// chosen from the input, after which that key must read back as written and
// every other section the file lists must still be listed.
#include "base/ini_file.h"
#include "fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// Names and values the property can be checked with: letters, digits,
// spaces inside; values also punctuation that means nothing to the format.
QString plainText(FuzzedDataProvider& in, bool value)
{
    static const char nameChars[] = "abcXYZ019 _";
    static const char valueChars[] = "abcXYZ019 _.,$-";
    const char* chars = value ? valueChars : nameChars;
    const size_t count = value ? sizeof valueChars - 1 : sizeof nameChars - 1;
    QString text;
    const size_t length = in.ConsumeIntegralInRange<size_t>(1, 12);
    for (size_t i = 0; i < length; ++i)
        text += QLatin1Char(chars[in.ConsumeIntegralInRange<size_t>(0, count - 1)]);
    return text.trimmed().isEmpty() ? QStringLiteral("k") : text.trimmed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int writes = in.ConsumeIntegralInRange<int>(0, 3);
    QList<QPair<QString, QString>> planned;
    QString section;
    const bool existingSection = in.ConsumeBool();
    if (!existingSection)
        section = plainText(in, false);
    for (int i = 0; i < writes; ++i) {
        const QString key = plainText(in, false);
        planned.append({key, plainText(in, true)});
    }
    const QByteArray content = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
    const QString path = fuzz::writeScratch(QStringLiteral("fuzz.ini"), content);
    IniFile ini(path);

    const QStringList sections = ini.sections();
    for (const QString& s : sections + QStringList{QString()})
        for (const QString& key : ini.keys(s)) {
            FUZZ_CHECK(ini.readString(s, key).size() <= IniFile::MaxValueLength);
            ini.readInteger(s, key, 3);
        }
    ini.hasSection(QStringLiteral("x"));

    // A file whose UTF-16 text does not decode is never written.
    if (existingSection && !sections.isEmpty())
        section = sections[content.size() % sections.size()];
    if (planned.isEmpty())
        return 0;
    const bool written = ini.writeStrings(section, planned);
    if (!written) {
        FUZZ_CHECK(content.startsWith("\xFF\xFE"));
        return 0;
    }
    // The first of several writes of one key is replaced by the later ones.
    for (qsizetype i = 0; i < planned.size(); ++i) {
        bool later = false;
        for (qsizetype j = i + 1; j < planned.size(); ++j)
            later = later || planned[j].first.compare(planned[i].first, Qt::CaseInsensitive) == 0;
        if (!later && ini.readString(section, planned[i].first) != planned[i].second) {
            fprintf(stderr, "[%s] %s: wrote \"%s\", read \"%s\"\n", qPrintable(section), qPrintable(planned[i].first),
                    qPrintable(planned[i].second), qPrintable(ini.readString(section, planned[i].first)));
            std::abort();
        }
    }
    const QStringList after = ini.sections();
    for (const QString& s : sections)
        FUZZ_CHECK(after.contains(s));
    return 0;
}
