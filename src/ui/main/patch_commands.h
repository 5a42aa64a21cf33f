#pragma once

#include <QObject>
#include <QString>

struct SessionOutcome;

class EditorSession;
class PatchApplyJob;
class QAction;
class QMenu;
class WorkProgressDialog;

// File > "Make Patch..." and "Apply Patch...". Make asks for the original
// image (remembered per ROM file in the user's settings; at first the last
// one chosen), then for the patch file; Apply asks for a patch file and hands
// it to the session. The patch is read and applied away from the window's
// thread, with a busy cursor and a status line meanwhile, and a progress
// dialog with Cancel when it takes longer than a moment; Apply Patch is
// disabled until it is done. A cancelled patch changes nothing and is no
// failure: the status line says so.
class PatchCommands : public QObject {
    Q_OBJECT
public:
    // Puts the two items into `file` before `before`; they are enabled once
    // a ROM image is loaded.
    PatchCommands(EditorSession& session, QMenu* file, QAction* before, QObject* parent = nullptr);

    void MakePatch1Click();
    void ApplyPatch1Click();

    // Waits for a patch under way and applies its result (Load Rom and
    // closing the window come here first).
    void finishRunning();
    bool isRunning() const;

    static const QString PatchFilter;

    QAction* MakePatch1 = nullptr;
    QAction* ApplyPatch1 = nullptr;
    PatchApplyJob* job = nullptr;
    WorkProgressDialog* progress = nullptr;

private:
    QString rememberedOriginal() const;
    void rememberOriginal(const QString& path);
    void applied(const SessionOutcome& outcome);

    EditorSession& m_session;
};
