#pragma once

#include <QLabel>
#include <QRawFont>

#include <array>

// A status bar panel whose text changes on every pointer move. It fills its
// own background, so a new text repaints the panel alone, nothing beneath it.
// Latin text is drawn on one line from the font's glyphs, looked up once per
// character, without the text layout a label runs on every paint; any other
// text is drawn as a label draws it.
class ReadoutLabel : public QLabel {
    Q_OBJECT
public:
    explicit ReadoutLabel(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Characters up to here are drawn from the glyph table.
    static constexpr char16_t TableEnd = 0x250;
    struct Glyph {
        quint32 index = 0;     // 0: the font has none
        bool known = false;
    };
    // The font's glyph for `c`, below TableEnd.
    quint32 glyph(char16_t c);
    bool drawGlyphs(QPainter& painter);

    QRawFont m_font;
    std::array<Glyph, TableEnd> m_glyphs{};
};
