#pragma once

#include "model/catalogue/catalogue_writer.h"
#include "model/map/map_data_finder.h"

#include <QDialog>

#include <functional>
#include <memory>

class MapPreviewDrawer;
class QListWidget;
class QSpinBox;
class RomImage;

// Catalogue > Find Map Data...: for a tileset and a width, the stretches of
// the image in which every byte is one of the tileset's blocks, longest
// first (one repeated byte last), each with a small picture as a map of
// that width. Choosing one hands its record to `choose` (New Map).
class FindMapDataDialog : public QDialog {
    Q_OBJECT
public:
    using Choose = std::function<void(const MapFields&)>;
    FindMapDataDialog(const Catalogue& catalogue, const RomImage& rom, qint64 tileset, Choose choose,
                      QWidget* parent = nullptr);
    ~FindMapDataDialog() override;

    // Shown at most; the rest of a long list is left out.
    static constexpr int Listed = 200;

    QSpinBox* Tileset = nullptr;
    QSpinBox* MapWidth = nullptr;
    QListWidget* Found = nullptr;

    // The record of a stretch: its offset, the width asked, as many rows as it
    // holds (at most as many as a map may have).
    MapFields fieldsOf(const MapDataStretch& stretch) const;
    const QList<MapDataStretch>& stretches() const { return m_stretches; }

private:
    void search();
    void chooseCurrent();

    const Catalogue& m_catalogue;
    const RomImage& m_rom;
    Choose m_choose;
    std::unique_ptr<MapPreviewDrawer> m_drawer;
    QList<MapDataStretch> m_stretches;
};
