#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace furrow {

class IconButton;
class IconCell;
class QuietScrollArea;

// Lets the user choose a page icon from the grouped catalogue, or from the matches of a
// search. The page's current icon is highlighted; a click emits `picked`.
class PageIconPicker : public QWidget
{
    Q_OBJECT

public:
    explicit PageIconPicker(const QString &selected, QWidget *parent = nullptr);

    QString query() const;
    void setQuery(const QString &query);
    // Searching while the query holds more than white space.
    bool isSearching() const;

    // The cells shown now, in order: the whole catalogue or the matches.
    QList<IconCell *> visibleCells() const;
    bool showsNothingFound() const;

Q_SIGNALS:
    void picked(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildSearchRow();
    QWidget *buildCatalogue();
    QWidget *buildGrid(const QStringList &names, QList<IconCell *> &cells);
    void showQuery();
    void moveFocus(IconCell *from, int step);

    QString m_selected;
    QLineEdit *m_search;
    QuietScrollArea *m_area;
    IconButton *m_clear;
    QWidget *m_catalogue;
    QList<IconCell *> m_catalogueCells;
    QWidget *m_results = nullptr;
    QList<IconCell *> m_resultCells;
    QLabel *m_nothingFound;
};

} // namespace furrow
