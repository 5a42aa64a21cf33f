#include "widgets/qt_prompts.h"

#include <QPushButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString qtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p.trimmed() == QLatin1String("*.*"))
                p = QStringLiteral("*");
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

Prompts::Answer QtPrompts::message(Kind kind, const QString& text, Buttons buttons)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case Kind::Plain: icon = QMessageBox::NoIcon; break;
    case Kind::Information: icon = QMessageBox::Information; break;
    case Kind::Warning: icon = QMessageBox::Warning; break;
    case Kind::Error: icon = QMessageBox::Critical; break;
    case Kind::Confirmation: icon = QMessageBox::Question; break;
    }
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    switch (buttons) {
    case Buttons::Ok: standard = QMessageBox::Ok; break;
    case Buttons::YesNo: standard = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoCancel: standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case Buttons::SaveDiscardCancel: standard = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel; break;
    case Buttons::OverwriteSaveAsCancel: standard = QMessageBox::Cancel; break;
    }
    QMessageBox box(icon, QApplication::applicationName(), text, standard, m_owner);
    if (buttons != Buttons::Ok && buttons != Buttons::YesNo)
        box.setEscapeButton(QMessageBox::Cancel);
    QAbstractButton* overwrite = nullptr;
    QAbstractButton* saveAs = nullptr;
    if (buttons == Buttons::OverwriteSaveAsCancel) {
        overwrite = box.addButton(QStringLiteral("Overwrite"), QMessageBox::DestructiveRole);
        saveAs = box.addButton(QStringLiteral("Save As..."), QMessageBox::AcceptRole);
        box.setDefaultButton(QMessageBox::Cancel);
    }
    const int chosen = box.exec();
    if (overwrite && box.clickedButton() == overwrite)
        return Answer::Overwrite;
    if (saveAs && box.clickedButton() == saveAs)
        return Answer::SaveAs;
    switch (chosen) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Save: return Answer::Save;
    case QMessageBox::Discard: return Answer::Discard;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    // The window's close box on a question: Cancel where there is one, No otherwise.
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (buttons == Buttons::YesNo)
        return Answer::No;
    return Answer::Cancel;
}

namespace {

std::optional<QString> runFileDialog(QWidget* owner, const Prompts::FileRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner, request.title, QString(), qtFileFilter(request.filter));
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen)
        dialog.setFileMode(QFileDialog::ExistingFile);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialName.isEmpty() && QFileInfo(request.initialName).isDir())
        dialog.setDirectory(request.initialName);
    else if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> QtPrompts::openFile(const FileRequest& request)
{
    return runFileDialog(m_owner, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompts::saveFile(const FileRequest& request)
{
    return runFileDialog(m_owner, request, QFileDialog::AcceptSave);
}

void QtPrompts::about(const QString& title, const QString& text)
{
    QMessageBox::about(m_owner, title, text);
}

int QtPrompts::pause(int milliseconds)
{
    return qMax(0, milliseconds);
}
