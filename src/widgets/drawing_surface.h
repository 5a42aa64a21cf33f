#pragma once

#include <QImage>
#include <QWidget>

// A view that owns an off-screen back buffer (24-bit colour) of its own size.
// Drawing goes to the buffer; present() shows the changed rectangle. The
// buffer is re-created whenever the size changes (surfaceCreated() is then
// emitted), and re-presented whenever the window system asks for a repaint.
// The map view and the event view are both instances of this class.
class DrawingSurface : public QWidget {
    Q_OBJECT
public:
    explicit DrawingSurface(QWidget* parent = nullptr);

    // Resizes the view and its buffer; the new buffer is black.
    void setSurfaceSize(const QSize& size);
    QImage& surface() { return m_surface; }
    const QImage& surface() const { return m_surface; }
    // Schedules a repaint of `rect` (the whole view when empty).
    void present(const QRect& rect = QRect());

signals:
    void surfaceCreated();
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void recreate(const QSize& size);
    QImage m_surface;
};
