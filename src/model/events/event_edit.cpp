#include "model/events/event_edit.h"

QString eventName(TEventData event)
{
    static const char* const words[] = {"Warp", "Singpost", "Person"};
    if (event.Kind > TEventData::People)
        return QString();
    return QStringLiteral("%1 %2").arg(QLatin1String(words[event.Kind])).arg(event.Index);
}
