#pragma once

#include "model/catalogue/catalogue_writer.h"
#include "session/map_preview.h"
#include "session/session_outcome.h"

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// Catalogue > New Map... and Map Properties...: every field of a map's
// record, a live picture of the map as it would be shown, and the pick's
// refusal in the dialog itself while the values cannot be picked. Alt+Left
// and Alt+Right move the start offset by a byte, Alt+Up and Alt+Down by a
// row, PageUp and PageDown by a whole map. OK hands the record to `apply`;
// a refusal stays in the dialog.
class MapPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    using Apply = std::function<SessionOutcome(const MapFields&)>;
    MapPropertiesDialog(const Catalogue& catalogue, const RomImage& rom, const MapFields& fields, bool isNew,
                        Apply apply, QWidget* parent = nullptr);
    ~MapPropertiesDialog() override;

    MapFields fields() const;
    QString refusal() const;
    // The preview as last drawn (null while refused).
    QImage preview() const { return m_preview; }

    // Moves the start offset by `bytes` (clamped to the image), as the keys do.
    void stepStart(qint64 bytes);

    QLineEdit* Name = nullptr;
    QComboBox* Category = nullptr;
    QSpinBox* Start = nullptr;
    QSpinBox* MapWidth = nullptr;
    QSpinBox* MapHeight = nullptr;
    QSpinBox* Tileset = nullptr;
    QSpinBox* WildOffset = nullptr;
    QSpinBox* WarpOffset = nullptr;
    QSpinBox* Warps = nullptr;
    QSpinBox* SingpostOffset = nullptr;
    QSpinBox* Singposts = nullptr;
    QSpinBox* PeopleOffset = nullptr;
    QSpinBox* Peoples = nullptr;
    QLineEdit* Comment = nullptr;
    QLabel* Preview = nullptr;
    QLabel* Refusal = nullptr;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update();

    bool m_isNew;
    Apply m_apply;
    qint64 m_romSize;
    std::unique_ptr<MapPreviewDrawer> m_drawer;
    QImage m_preview;
};

// A spin box of ROM offsets, shown in hexadecimal.
QSpinBox* offsetSpinBox(qint64 romSize, QWidget* parent);
