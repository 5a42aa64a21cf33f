// The recovery file reader on any file: its description is read or refused
// without reaching outside the file, the image it holds is made or refused,
// and a recovery file written for any description reads back as written.
#include "session/recovery_file.h"
#include "fuzz_support.h"

#include <QTimeZone>

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QByteArray onDisk = QByteArray::fromStdString(in.ConsumeRandomLengthString(2048));
    if (in.ConsumeBool()) {
        RecoveryInfo info;
        info.romPath = QString::fromStdString(in.ConsumeRandomLengthString(64));
        info.romSize = in.ConsumeIntegralInRange<qint64>(0, qint64(1) << 40);
        info.romCrc = in.ConsumeIntegral<quint32>();
        info.catalogueFolder = QString::fromStdString(in.ConsumeRandomLengthString(64));
        info.mapName = QString::fromStdString(in.ConsumeRandomLengthString(32));
        info.saved = QDateTime::fromMSecsSinceEpoch(in.ConsumeIntegralInRange<qint64>(0, 4102444800000), QTimeZone::utc());
        const QByteArray image = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
        const QByteArray file = RecoveryFile::make(onDisk, image, info);
        const std::optional<RecoveryInfo> back = RecoveryFile::readInfo(file);
        // An empty path is no description of ours; every other one reads back.
        FUZZ_CHECK(back.has_value() == !info.romPath.isEmpty());
        if (back) {
            FUZZ_CHECK(back->romPath == info.romPath && back->romSize == info.romSize && back->romCrc == info.romCrc);
            FUZZ_CHECK(back->catalogueFolder == info.catalogueFolder && back->mapName == info.mapName);
            FUZZ_CHECK(back->saved == info.saved);
        }
        const RecoveredImage restored = RecoveryFile::apply(onDisk, file);
        FUZZ_CHECK(restored.image && *restored.image == image);
        return 0;
    }
    const QByteArray file = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
    QString error;
    const std::optional<RecoveryInfo> info = RecoveryFile::readInfo(file, &error);
    FUZZ_CHECK(info.has_value() == error.isEmpty());
    if (info)
        FUZZ_CHECK(!info->romPath.isEmpty() && info->romSize >= 0 && info->saved.isValid());
    const RecoveredImage restored = RecoveryFile::apply(onDisk, file);
    FUZZ_CHECK(restored.image.has_value() == restored.error.isEmpty());
    return 0;
}
