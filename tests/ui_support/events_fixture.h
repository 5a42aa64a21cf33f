#pragma once

// A small map with events for the event view, dialog and builder tests:
// an Events page, a map view of 4 x 3 blocks filled with a colour pattern,
// and the events editor with its windows.

#include "session/editor_session.h"
#include "session/editor_core.h"
#include "model/events/event_tables.h"
#include "model/events/event_icons.h"
#include "ui/events/event_view.h"
#include "ui/events/events_editor.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <memory>

struct EventsFixture {
    // Town: warps 1-5 at squares (i, 0), bytes 10+i, 20+i, 30+i; signpost 1 at
    // (1, 2) with hidden byte 5, signpost 2 at (2, 2); person 1 at (3, 3)
    // hidden by condition 9, person 2 at (4, 4) without a condition.
    static constexpr int WarpOffset = 0x100, SingpostOffset = 0x140, PeopleOffset = 0x160;

    static QByteArray townRom()
    {
        QByteArray rom(0x400, '\0');
        for (int i = 1; i <= 5; ++i) {
            const int at = WarpOffset + (i - 1) * 5;
            const char bytes[5] = {0, char(i), char(10 + i), char(20 + i), char(30 + i)};
            rom.replace(at, 5, bytes, 5);
        }
        const char s1[5] = {2, 1, 5, 0x11, 0x22}, s2[5] = {2, 2, 0, 0x33, 0x44};
        rom.replace(SingpostOffset, 5, s1, 5);
        rom.replace(SingpostOffset + 5, 5, s2, 5);
        const char p1[13] = {41, 7, 7, 1, 2, 3, 4, 5, 6, 7, 8, 9, 6};
        const char p2[13] = {42, 8, 8, 11, 12, 13, 14, 15, 16, 17, 18, char(255), char(255)};
        rom.replace(PeopleOffset, 13, p1, 13);
        rom.replace(PeopleOffset + 13, 13, p2, 13);
        return rom;
    }

    static QByteArray townIni(const QByteArray& extra = {})
    {
        return "[Town]\r\nWarps=5\r\nWarp offset=256\r\nSingposts=2\r\nSingpost offset=$140\r\n"
               "Peoples=2\r\nPeople offset=0x160\r\n[Room]\r\nWarps=1\r\nWarp offset=256\r\n"
               + extra;
    }

    explicit EventsFixture(const QByteArray& eventsIni = townIni(), const QByteArray& rom = townRom(),
                           const QString& mapName = QStringLiteral("Town"))
        : written(writeCatalogue(dir, eventsIni, rom)), editorState(dir.path()), session(editorState, prompts)
    {
        session.loadRom(dir.file(QStringLiteral("town.gbc")));
        mapPicture = QImage(256, 192, QImage::Format_RGB32);
        paintMap(0);
        page.resize(400, 300);
        BuildEvents1.setObjectName(QStringLiteral("BuildEvents1"));
        // The map beneath the events: the picture above, at any zoom.
        const auto drawMap = [this](QImage& target, QPoint at, const QRect& area, int zoom) {
            const QImage scaled = mapPicture.scaled(mapPicture.size() * zoom / 100);
            QPainter painter(&target);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(at, scaled, area);
        };
        editor = std::make_unique<EventsEditor>(session, &page, drawMap, [this] { return mapPicture.size(); });
        editor->createWindows();
        for (auto changed : {&EditorSession::eventsChanged, &EditorSession::mapDropped})
            QObject::connect(&session, changed, &page, [this] { BuildEvents1.setEnabled(eventsBuildable(state)); });
        page.show();
        exposed = QTest::qWaitForWindowExposed(&page);
        session.pickMap(mapName);
    }

    // Every map is a 4 x 3 map of one tileset in the image's first bytes.
    static bool writeCatalogue(TestDir& dir, const QByteArray& eventsIni, const QByteArray& rom)
    {
        dir.write(QStringLiteral("Events.ini"), eventsIni);
        QByteArray maps;
        for (const char* name : {"Town", "Room", "Cave", "Nowhere", "Big", "Hall"})
            maps += QByteArray("[") + name + "]\r\nStart offset=$0\r\nEnd offset=$B\r\nX size=4\r\nY size=3\r\nTileset=1\r\n";
        dir.write(QStringLiteral("Maps.Ini"), maps);
        dir.write(QStringLiteral("Tilesets.ini"), "[1]\r\nStart offset=$0\r\nBlocks=0\r\nTiles=tiles.bmp\r\n");
        dir.writeTilePicture(QStringLiteral("tiles.bmp"));
        dir.write(QStringLiteral("town.gbc"), rom);
        return true;
    }

    void paintMap(int seed)
    {
        QImage& img = mapPicture;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, qRgb((x * 3 + seed) & 0xFF, (y * 5 + seed) & 0xFF, (x + y) & 0xFF));
    }

    // A pointer move over `widget` with no button held.
    static void hover(QWidget* widget, QPoint pos)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    // What the event view shows, and what it should show: the map with the
    // icons blended over it at 150/255, people over signposts over warps.
    QImage shown() const { return editor->EventBox->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage composed() const
    {
        const EventIcons icons;
        QImage picture = mapPicture;
        const auto blend = [&](int icon, int x, int y) {
            for (int dy = 0; dy < 32; ++dy)
                for (int dx = 0; dx < 32; ++dx) {
                    const QPoint at(x * 32 + dx, y * 32 + dy);
                    if (!picture.rect().contains(at))
                        continue;
                    const QRgb s = icons.icon(icon).pixel(dx, dy), d = picture.pixel(at);
                    picture.setPixel(at, qRgb(blendChannel(qRed(s), qRed(d), 150), blendChannel(qGreen(s), qGreen(d), 150),
                                              blendChannel(qBlue(s), qBlue(d), 150)));
                }
        };
        for (int i = 1; i <= state.WarpCount; ++i)
            blend(0, state.WarpTable[size_t(i)].X, state.WarpTable[size_t(i)].Y);
        for (int i = 1; i <= state.SingpostCount; ++i)
            blend(1, state.SingpostTable[size_t(i)].X, state.SingpostTable[size_t(i)].Y);
        for (int i = 1; i <= state.PeopleCount; ++i)
            blend(2, state.PeopleTable[size_t(i)].X, state.PeopleTable[size_t(i)].Y);
        return picture;
    }

    // The centre of square (x, y) on the event view.
    static QPoint square(int x, int y) { return QPoint(x * 32 + 16, y * 32 + 16); }

    bool exposed = false;
    TestDir dir;
    bool written;
    EditorState editorState;
    EditorCore* core = &editorState.core;
    EventState& state = editorState.events;
    ScriptedPrompts prompts;
    EditorSession session;
    QWidget page;
    QImage mapPicture;   // the map the event view shows
    QAction BuildEvents1{QStringLiteral("Build Events...")};
    std::unique_ptr<EventsEditor> editor;
};
