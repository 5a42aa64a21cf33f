#pragma once

#include <QObject>

// The zoom that the map view and the event view share, in percent: one of
// the view levels, 100 at start.
class ZoomSetting : public QObject {
    Q_OBJECT
public:
    explicit ZoomSetting(QObject* parent = nullptr) : QObject(parent) {}

    int percent() const { return m_percent; }
    // A value that is no level is ignored.
    void setPercent(int percent);
    void zoomIn();
    void zoomOut();
    void actualSize();

signals:
    void changed(int percent);

private:
    int m_percent = 100;
};
