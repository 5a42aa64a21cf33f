#pragma once

#include "session/block_uses_finder.h"

#include <QWidget>

class QLabel;
class QListWidget;
class TMainForm;

// Find Uses: the maps of a tileset that use one of its blocks, with the count
// of cells in each. Return or a double click picks the map as the choosers
// pick it (its question first) and selects the block's cells on it.
class FindUsesWindow : public QWidget {
    Q_OBJECT
public:
    explicit FindUsesWindow(TMainForm& form);

    // Lists the maps of `tileset` using block number `block` and shows the window.
    void findUses(qint32 tileset, qint32 block);

    QLabel* Caption = nullptr;
    QListWidget* List = nullptr;

private:
    void pickRow(int row);

    TMainForm& m_form;
    QList<BlockUse> m_uses;
    qint32 m_block = 0;
};
