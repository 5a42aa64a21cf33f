// Placeholder until the event view is built.
#include "events/events_editor.h"

#include "widgets/drawing_surface.h"

#include <QVBoxLayout>
#include <QWidget>

EventsEditor::EventsEditor(EditorCore&, EventState&, Prompts&, QWidget* eventsPage, DrawingSurface*, QAction*, QObject* parent)
    : QObject(parent)
{
    auto* layout = new QVBoxLayout(eventsPage);
    EventBox = new DrawingSurface(eventsPage);
    EventBox->setObjectName(QStringLiteral("EventBox"));
    layout->addWidget(EventBox);
}

EventsEditor::~EventsEditor() = default;
void EventsEditor::createWindows() {}
void EventsEditor::LoadEvents() {}
void EventsEditor::resetPick() {}
void EventsEditor::SaveEvents() {}
void EventsEditor::DrawEvents() {}
void EventsEditor::TabbedNotebook1Change(int) {}
void EventsEditor::BuildEvents1Click() {}
void EventsEditor::clearMap() {}
