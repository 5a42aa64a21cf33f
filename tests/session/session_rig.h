#pragma once

// A session on the fixture catalogue's image with "Route 1" picked, for the
// tests of work that goes through the whole session.
#include "session/editor_session.h"
#include "session/editor_state.h"
#include "support/catalogue_fixture.h"
#include "support/scripted_prompts.h"

#include <QtTest>

#include <memory>

struct SessionRig {
    SessionRig()
    {
        state = std::make_unique<EditorState>(files.dir.path());
        session = std::make_unique<EditorSession>(*state, prompts);
        QVERIFY(session->loadRom(files.dir.file("rom.gbc")).isDone());
        QVERIFY(session->pickMap(QStringLiteral("Route 1")).outcome.isDone());
    }
    // `block` into the first `cells` cells in one stroke: a working copy not
    // yet in the image.
    void paint(int block, int cells)
    {
        session->stamp().setSelectedBlock(block);
        session->beginStroke();
        for (int cell = 0; cell < cells; ++cell)
            session->paintCell(cell);
        session->endStroke();
    }
    QByteArray image() const { return state->core.rom.bytes(); }

    CatalogueFixture files;
    ScriptedPrompts prompts;
    std::unique_ptr<EditorState> state;
    std::unique_ptr<EditorSession> session;
};
