#pragma once

#include <QObject>
#include <QString>

class EditorSession;
class QAction;
class QMenu;

// File > "Make Patch..." and "Apply Patch...". Make asks for the original
// image (remembered per ROM file in the user's settings; at first the last
// one chosen), then for the patch file; Apply asks for a patch file and hands
// it to the session.
class PatchCommands : public QObject {
    Q_OBJECT
public:
    // Puts the two items into `file` before `before`; they are enabled once
    // a ROM image is loaded.
    PatchCommands(EditorSession& session, QMenu* file, QAction* before, QObject* parent = nullptr);

    void MakePatch1Click();
    void ApplyPatch1Click();

    static const QString PatchFilter;

    QAction* MakePatch1 = nullptr;
    QAction* ApplyPatch1 = nullptr;

private:
    QString rememberedOriginal() const;
    void rememberOriginal(const QString& path);

    EditorSession& m_session;
};
