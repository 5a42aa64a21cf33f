#include "widgets/readout_label.h"

#include <QEvent>
#include <QGlyphRun>
#include <QPainter>

ReadoutLabel::ReadoutLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    m_font = QRawFont::fromFont(font());
}

void ReadoutLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_font = QRawFont::fromFont(font());
        m_glyphs = {};
    }
    QLabel::changeEvent(event);
}

quint32 ReadoutLabel::glyph(char16_t c)
{
    Glyph& g = m_glyphs[c];
    if (!g.known) {
        const QList<quint32> index = m_font.glyphIndexesForString(QString(QChar(c)));
        g.index = index.size() == 1 ? index.front() : 0;
        g.known = true;
    }
    return g.index;
}

bool ReadoutLabel::drawGlyphs(QPainter& painter)
{
    if (!m_font.isValid() || layoutDirection() != Qt::LeftToRight || alignment() != (Qt::AlignLeft | Qt::AlignVCenter)
        || wordWrap() || indent() > 0 || margin() != 0)
        return false;
    const QString shown = text();
    QList<quint32> indexes;
    indexes.reserve(shown.size());
    for (QChar c : shown) {
        // Control characters, other scripts and characters the font lacks
        // need the text layout.
        if (c.unicode() < 0x20 || c.unicode() >= TableEnd)
            return false;
        const quint32 index = glyph(c.unicode());
        if (index == 0)
            return false;
        indexes.append(index);
    }
    // Kerned as the text layout kerns.
    const QList<QPointF> advances =
        m_font.advancesForGlyphIndexes(indexes, QRawFont::SeparateAdvances | QRawFont::KernedAdvances);
    QList<QPointF> positions;
    positions.reserve(advances.size());
    QPointF at(0, 0);
    for (const QPointF& advance : advances) {
        positions.append(at);
        at.rx() += advance.x();
    }
    QGlyphRun run;
    run.setRawFont(m_font);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    // One line from the left edge, centred vertically as the label centres it.
    const QFontMetrics metrics(font());
    const QRect box = contentsRect();
    painter.setPen(palette().color(foregroundRole()));
    painter.setClipRect(box);
    painter.drawGlyphRun(QPointF(box.left(), box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent()), run);
    return true;
}

void ReadoutLabel::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        if (drawGlyphs(painter))
            return;
    }
    QLabel::paintEvent(event);
}
