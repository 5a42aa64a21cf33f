#include "catalogue/rom_image.h"

#include <QFile>
#include <QSaveFile>

#include <cstring>

bool RomImage::loadFromFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxSize) {
        if (error)
            *error = QStringLiteral("Cannot open file %1").arg(path);
        return false;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot open file %1").arg(path);
        return false;
    }
    m_bytes = std::move(content);
    m_position = 0;
    return true;
}

bool RomImage::saveToFile(const QString& path, QString* error) const
{
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly)
        && file.write(m_bytes) == m_bytes.size()
        && file.commit();
    if (!ok) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("Cannot create file %1").arg(path);
    }
    return ok;
}

qint64 RomImage::read(void* destination, qint64 n)
{
    if (n <= 0 || m_position >= size())
        return 0;
    qint64 count = qMin(n, size() - m_position);
    std::memcpy(destination, m_bytes.constData() + m_position, size_t(count));
    m_position += count;
    return count;
}

bool RomImage::write(const void* source, qint64 n)
{
    if (n <= 0)
        return true;
    if (m_position > MaxSize - n)
        return false;
    qint64 end = m_position + n;
    if (end > size())
        m_bytes.resize(end, '\0');
    std::memcpy(m_bytes.data() + m_position, source, size_t(n));
    m_position = end;
    return true;
}

bool RomImage::contains(qint64 offset, qint64 length) const
{
    return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
}

int RomImage::byteAt(qint64 offset) const
{
    if (!contains(offset, 1))
        return -1;
    return quint8(m_bytes.at(offset));
}

bool RomImage::readAt(qint64 offset, void* destination, qint64 n) const
{
    if (!contains(offset, n))
        return false;
    if (n > 0)
        std::memcpy(destination, m_bytes.constData() + offset, size_t(n));
    return true;
}

bool RomImage::writeAt(qint64 offset, const void* source, qint64 n)
{
    if (!contains(offset, n))
        return false;
    if (n > 0)
        std::memcpy(m_bytes.data() + offset, source, size_t(n));
    return true;
}
