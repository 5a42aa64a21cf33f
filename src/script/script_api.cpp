#include "script/script_api.h"

#include <QJSEngine>

ScriptApi::ScriptApi(const QByteArray& image, const QString& catalogueDir)
    : m_catalogue(catalogueDir), m_rom(m_image), m_lists(m_catalogue), m_maps(m_catalogue, m_lists, m_image),
      m_tilesets(m_catalogue, m_image)
{
    m_image.rom.setBytes(image);
}

void ScriptApi::install(QJSEngine& engine)
{
    for (QObject* object : {static_cast<QObject*>(&m_rom), static_cast<QObject*>(&m_lists),
                            static_cast<QObject*>(&m_maps), static_cast<QObject*>(&m_tilesets)})
        QJSEngine::setObjectOwnership(object, QJSEngine::CppOwnership);
    QJSValue global = engine.globalObject();
    global.setProperty(QStringLiteral("rom"), engine.newQObject(&m_rom));
    global.setProperty(QStringLiteral("catalogue"), engine.newQObject(&m_lists));
    const QJSValue makeMap = engine.evaluate(QStringLiteral(
        "(function (host) { return function map(name) { return host.open(name); }; })"));
    global.setProperty(QStringLiteral("map"), makeMap.call({engine.newQObject(&m_maps)}));
    const QJSValue makeTileset = engine.evaluate(QStringLiteral(
        "(function (host) { return function tileset(number) { return host.open(number); }; })"));
    global.setProperty(QStringLiteral("tileset"), makeTileset.call({engine.newQObject(&m_tilesets)}));
}
