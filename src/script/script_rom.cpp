#include "script/script_rom.h"

#include "script/script_values.h"
#include "script/script_image.h"

#include <QJSEngine>

double ScriptRom::size() const { return double(m_image.rom.size()); }

QJSValue ScriptRom::byte(const QJSValue& offset)
{
    const std::optional<qint64> at = scriptInteger(qjsEngine(this), offset, 0, m_image.rom.size() - 1, QStringLiteral("offset"));
    if (!at)
        return {};
    return QJSValue(m_image.rom.byteAt(*at));
}

QJSValue ScriptRom::setByte(const QJSValue& offset, const QJSValue& value)
{
    QJSEngine* engine = qjsEngine(this);
    const std::optional<qint64> at = scriptInteger(engine, offset, 0, m_image.rom.size() - 1, QStringLiteral("offset"));
    if (!at)
        return {};
    const std::optional<qint64> byte = scriptInteger(engine, value, 0, 255, QStringLiteral("byte"));
    if (!byte)
        return {};
    const char c = char(*byte);
    m_image.rom.writeAt(*at, &c, 1);
    m_image.wrote();
    return {};
}

QJSValue ScriptRom::bytes(const QJSValue& offset, const QJSValue& count)
{
    QJSEngine* engine = qjsEngine(this);
    const std::optional<qint64> at = scriptInteger(engine, offset, 0, m_image.rom.size(), QStringLiteral("offset"));
    if (!at)
        return {};
    const std::optional<qint64> n = scriptInteger(engine, count, 0, m_image.rom.size() - *at, QStringLiteral("count"));
    if (!n)
        return {};
    QJSValue array = engine->newArray(quint32(*n));
    const char* data = m_image.rom.bytes().constData() + *at;
    for (qint64 i = 0; i < *n; ++i)
        array.setProperty(quint32(i), int(quint8(data[i])));
    return array;
}

QJSValue ScriptRom::setBytes(const QJSValue& offset, const QJSValue& values)
{
    QJSEngine* engine = qjsEngine(this);
    if (!values.isArray())
        return throwScriptError(engine, QStringLiteral("setBytes takes an array of bytes"));
    const qint64 n = values.property(QStringLiteral("length")).toInt();
    const std::optional<qint64> at = scriptInteger(engine, offset, 0, m_image.rom.size() - n, QStringLiteral("offset"));
    if (!at)
        return {};
    // Every value is checked before the first is written: all or nothing.
    QByteArray run(n, '\0');
    for (qint64 i = 0; i < n; ++i) {
        const std::optional<qint64> byte =
            scriptInteger(engine, values.property(quint32(i)), 0, 255, QStringLiteral("byte"));
        if (!byte)
            return {};
        run[i] = char(*byte);
    }
    m_image.rom.writeAt(*at, run.constData(), n);
    m_image.wrote();
    return {};
}
