#pragma once

#include <QColor>
#include <QWidget>
#include <array>

// A panel that fills itself with a left-to-right gradient of 255 colour bands
// and draws its caption over it, left-aligned and vertically centred.
class TgradientPanel : public QWidget {
    Q_OBJECT
public:
    explicit TgradientPanel(QWidget* parent = nullptr);

    QColor BeginColor() const { return m_begin; }
    QColor EndColor() const { return m_end; }
    void setBeginColor(const QColor& color);
    void setEndColor(const QColor& color);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);

    static constexpr int BandCount = 255;
    // The band colours for the current begin and end colours.
    std::array<QColor, 256> bandColors() const;
    // The left edge of band k on a panel `width` pixels wide (right edge: k + 1).
    static int bandLeft(int k, int width);
    // Draws the gradient and caption on an image of the panel's size.
    QImage render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_begin;
    QColor m_end;
    QString m_caption;
};
