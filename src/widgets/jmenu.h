#pragma once

#include <QObject>

class QMenuBar;

// Draws a menu bar and all its drop-down menus in the editor's own colours.
class TJMenu : public QObject {
    Q_OBJECT
public:
    enum TJMenuStyle { msStandard, msOwnerDraw, msBtnLowered, msBtnRaised };
    Q_ENUM(TJMenuStyle)

    explicit TJMenu(QMenuBar* menuBar, QObject* parent = nullptr);

    TJMenuStyle Style() const { return m_style; }
    void setStyle(TJMenuStyle style);

private:
    QMenuBar* m_menuBar;
    TJMenuStyle m_style = msStandard;
};
