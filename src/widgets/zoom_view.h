#pragma once

#include <QWidget>

#include <optional>

class QScrollArea;
class ZoomSetting;

// A view of a picture drawn on demand at a zoom: it lies in a QScrollArea, is
// as large as the picture at its zoom and keeps no picture of its own; the
// class that derives from it paints the rectangle exposed. Positions are
// reported in the picture's units (map cells, event squares) at every zoom.
// Ctrl+wheel zooms around the pointer: the point under it stays in place.
class ZoomView : public QWidget {
    Q_OBJECT
public:
    // How a position left of or above the picture becomes a unit.
    enum class Rounding { Down, TowardZero };

    ZoomView(int unitPixels, Rounding rounding, QWidget* parent = nullptr);

    // Follows `setting` from now on (its zoom is taken at once).
    void followZoom(ZoomSetting* setting);
    int zoom() const { return m_zoom; }
    // Changes the zoom. `anchor` is a point of the view that stays at the
    // same place of the scroll area; by default the middle of what is seen.
    void setZoom(int percent, std::optional<QPoint> anchor = std::nullopt);

    // The picture's size at 100 %; the view takes it at its zoom.
    void setContentSize(qint64 width, qint64 height);
    // The unit under view position `position`.
    QPoint unitAt(QPointF position) const;
    // Unit (x, y) in view pixels at the current zoom.
    QRect unitRect(int x, int y) const;
    int unitPixels() const;

    // The keyboard modifiers of the last press on the view.
    Qt::KeyboardModifiers pressModifiers() const { return m_pressModifiers; }

signals:
    void unitPressed(QPoint unit, Qt::MouseButton button);
    void unitMoved(QPoint unit, Qt::MouseButtons buttons);
    void unitReleased(QPoint unit, Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    QScrollArea* scrollArea() const;

private:
    void applySize();

    const int m_unit;
    const Rounding m_rounding;
    ZoomSetting* m_setting = nullptr;
    std::optional<QPoint> m_pendingAnchor;   // of a Ctrl+wheel step on this view
    int m_zoom = 100;
    qint64 m_width = 0, m_height = 0;
    int m_wheelAngle = 0;
    Qt::KeyboardModifiers m_pressModifiers;                     // wheel turn not yet spent on a step
};
