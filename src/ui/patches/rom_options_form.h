#pragma once


#include <QWidget>

class EditorSession;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// "Rom Options": the one-byte patches listed in Options.ini, one line per
// section in file order, ticked when the ROM image has the option switched on.
// The list is read once at creation; the keys are read afresh at each use.
class TRomOptionsForm : public QWidget {
    Q_OBJECT
public:
    explicit TRomOptionsForm(EditorSession& session, QWidget* parent = nullptr);

    // Sets every tick from the ROM image. A line whose option names no byte
    // inside the image is shown unticked and disabled.
    void LoadOptions();
    // "Utilies" > "Rom Options...": reads the ticks, then shows the window
    // without blocking the main window.
    void RomOptions1Click();

    // Writes one byte per usable line into the ROM image (later lines win on
    // a shared offset), then the whole image to RomFileName.
    void SaveButtonClick();
    void SelectNoneButtonClick();

    QListWidget* CheckListBox1 = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* SelectNoneButton = nullptr;

private:
    void FormCreate();

    EditorSession& m_session;
};
