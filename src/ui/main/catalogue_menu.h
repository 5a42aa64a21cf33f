#pragma once

#include "model/catalogue/catalogue_writer.h"

#include <QObject>

class CatalogueEdits;
class QAction;
class QMenu;
class TMainForm;

// The Catalogue menu, after the window's other menus: New Category..., New
// Map..., Map Properties... (the map shown), Tileset Properties... (its
// tileset), Tiles from ROM..., Find Map Data... and Remove Map from
// Catalogue.... Each change is written
// through the INI layer as one undo entry; the choosers follow every change,
// its undo and its redo.
class CatalogueMenu : public QObject {
    Q_OBJECT
public:
    explicit CatalogueMenu(TMainForm& form);

    void NewCategory1Click();
    void NewMap1Click();
    // New Map with the fields given (Find Map Data's choice).
    void newMap(const MapFields& fields);
    void MapProperties1Click();
    void TilesetProperties1Click();
    void TilesFromRom1Click();
    void FindMapData1Click();
    // The map shown leaves its category's list, after a question.
    void RemoveMap1Click();
    // File > Catalogue Folder...: the folder the catalogue is read from, kept
    // for the ROM loaded; a folder without catalogue files starts as empty ones.
    void CatalogueFolder1Click();
    // Reads the catalogue from `folder` and remembers it for the ROM loaded.
    bool useFolder(const QString& folder);
    // `--catalogue DIR` was given: it wins over the folder kept for a ROM.
    bool folderFromCommandLine = false;

    QMenu* Catalogue1 = nullptr;
    QAction* NewCategory1 = nullptr;
    QAction* NewMap1 = nullptr;
    QAction* MapProperties1 = nullptr;
    QAction* TilesetProperties1 = nullptr;
    QAction* TilesFromRom1 = nullptr;
    QAction* FindMapData1 = nullptr;
    QAction* RemoveMap1 = nullptr;
    QAction* CatalogueFolder1 = nullptr;

private:
    void updateActions();
    // A ROM image was loaded: the folder kept for it, unless the command line named one.
    void romLoaded();
    // The choosers filled again from Main.Ini, the category and map shown kept.
    void refillChoosers();
    qint64 currentTileset() const;

    TMainForm& m_form;
    CatalogueEdits* m_edits = nullptr;
};
