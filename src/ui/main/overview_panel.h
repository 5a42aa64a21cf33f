#pragma once

#include "session/catalogue_maps.h"
#include "session/map_thumbnail.h"

#include <QDockWidget>
#include <QHash>
#include <QTimer>

class OverviewDrawing;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class TMainForm;

// The Overview: the maps of the current category (or of every category) as
// small pictures with their names, drawn away from the window's thread, the
// ones in sight first. A picture is drawn again only when what it was drawn
// from changed in the image. A click picks the map as the choosers do; the
// map shown is marked; a map the pick refuses shows the refusal instead.
class OverviewPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit OverviewPanel(TMainForm& form);
    ~OverviewPanel() override;

    QLineEdit* Filter = nullptr;
    QCheckBox* AllCategories = nullptr;
    QListWidget* Maps = nullptr;

    // The item of `name`, or null when it is not listed.
    QListWidgetItem* item(const QString& name) const;
    // Lists the maps afresh and draws what changed (the panel does this by
    // itself when shown, on a category pick and after the image changed).
    void refresh();
    bool drawing() const;
    // Waits until the pictures of the last refresh are in (tests, benchmarks).
    void waitForPictures();

    static constexpr int ShownRole = Qt::UserRole + 1;   // true on the map shown

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill();
    void startDrawing();
    void take(const QList<MapThumbnail>& thumbnails);
    void show(QListWidgetItem* item, const MapThumbnail& kept);
    void preferVisible();
    void filterChanged();
    void markShown();
    // Scrolls the marked map into sight.
    void revealShown();
    void clicked(QListWidgetItem* item);

    TMainForm& m_form;
    OverviewDrawing* m_drawing = nullptr;
    QList<CatalogueMap> m_maps;        // as listed, item i is map i
    QHash<QString, MapThumbnail> m_kept;
    QHash<QString, QListWidgetItem*> m_items;   // by map name
    QString m_shown;                   // the map marked
    QTimer m_soon;                     // gathers the image's changes into one refresh
    bool m_pending = false;            // pictures of the last refresh still to come
    bool m_revealShown = false;        // the marked map waits for the list's size to be scrolled to
};
