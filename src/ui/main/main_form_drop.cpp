// A ROM image dropped on the main window.
#include "ui/main/main_form.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

// The first local file of the drop whose name ends in .gb or .gbc (any
// letter case), or an empty string when it brings none.
QString droppedRom(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();   // empty for a file that is not local
        if (path.endsWith(QStringLiteral(".gb"), Qt::CaseInsensitive)
            || path.endsWith(QStringLiteral(".gbc"), Qt::CaseInsensitive))
            return path;
    }
    return {};
}

} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedRom(event->mimeData()).isEmpty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    const QString path = droppedRom(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Loaded once the drop is over: the question about unsaved changes must
    // not hold up the program the file was dragged from.
    QMetaObject::invokeMethod(this, [this, path] { loadRom(path); }, Qt::QueuedConnection);
}
