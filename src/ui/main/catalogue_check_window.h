#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
struct CatalogueReport;

// The report of a catalogue check in a window of its own: the problem lines
// as selectable text and the counts. It changes nothing in the program.
class TCatalogueCheckForm : public QDialog {
    Q_OBJECT
public:
    explicit TCatalogueCheckForm(QWidget* parent = nullptr);

    void showReport(const CatalogueReport& report);

    QLabel* CountsLabel = nullptr;
    QPlainTextEdit* ReportMemo = nullptr;
};
