#pragma once

#include <QImage>
#include <QWidget>

class QMouseEvent;

// A paint box: shows its image 1:1 from the top-left corner (the block palette,
// and the block editor's palette copy, block grid and tile picture).
class ImageBox : public QWidget {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }
    void setImage(const QImage& image);

signals:
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage m_image;
};
