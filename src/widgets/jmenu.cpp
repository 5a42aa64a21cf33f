// Placeholder until the owner-drawn menu is built.
#include "widgets/jmenu.h"

TJMenu::TJMenu(QMenuBar* menuBar, QObject* parent) : QObject(parent), m_menuBar(menuBar) {}
void TJMenu::setStyle(TJMenuStyle style) { m_style = style; }
