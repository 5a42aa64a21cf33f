#pragma once

#include <QDialog>

class CatalogueCheckJob;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
struct Catalogue;
struct CatalogueReport;
class RomImage;

// The report of a catalogue check in a window of its own: the problem lines
// as selectable text and the counts. The check runs away from the window;
// its lines appear as they are found, under a progress bar, and Cancel ends
// it with what was found kept. It changes nothing in the program.
class TCatalogueCheckForm : public QDialog {
    Q_OBJECT
public:
    explicit TCatalogueCheckForm(QWidget* parent = nullptr);
    ~TCatalogueCheckForm() override;

    // Shows the window and starts the check (one that runs is stopped first).
    void startCheck(const Catalogue& catalogue, const RomImage& rom);
    void showReport(const CatalogueReport& report);
    // Stops a check under way; true when one ran.
    bool cancelCheck();

    QLabel* CountsLabel = nullptr;
    QPlainTextEdit* ReportMemo = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* CancelButton = nullptr;

    void reject() override;

private:
    void found(const QStringList& problems, int done, int total);
    void finished(const CatalogueReport& report, bool whole);

    CatalogueCheckJob* m_job;
};
