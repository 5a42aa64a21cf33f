#pragma once

#include "session/catalogue_maps.h"

#include <QWidget>

class QLineEdit;
class QListView;
class QSortFilterProxyModel;
class QStringListModel;
class TMainForm;

// Go to Map: every map of Main.Ini as "category / map", narrowed to the names
// holding what is typed (any part, any letter case). Return or a double
// click picks the map highlighted as the choosers pick it, and shows it in both.
class GoToMapWindow : public QWidget {
    Q_OBJECT
public:
    explicit GoToMapWindow(TMainForm& form);

    // Lists the catalogue's maps afresh, empties the filter and shows the window.
    void GoToMap1Click();
    // The names as listed now, in order.
    int shownCount() const;
    // Shows `map` in both choosers, with no second pick.
    void showInChoosers(const CatalogueMap& map);

    QLineEdit* Filter = nullptr;
    QListView* List = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void filterChanged(const QString& text);
    void pickRow(int row);

    TMainForm& m_form;
    QList<CatalogueMap> m_maps;
    QStringListModel* m_names = nullptr;
    QSortFilterProxyModel* m_shown = nullptr;
};
