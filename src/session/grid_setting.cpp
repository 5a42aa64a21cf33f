#include "session/grid_setting.h"

#include "model/catalogue/catalogue.h"

GridSetting::GridSetting(Catalogue& catalogue, QObject* parent)
    : QObject(parent), m_catalogue(catalogue), m_on(catalogue.grid())
{
}

SessionOutcome GridSetting::set(bool on)
{
    QString error;
    if (!m_catalogue.setGrid(on, &error)) {
        emit changed(m_on);
        return SessionOutcome::refused(error);
    }
    m_on = on;
    emit changed(on);
    return SessionOutcome::done();
}
