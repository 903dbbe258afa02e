#pragma once

#include "model/find/FindResult.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLineEdit;
class QListView;

namespace furrow {

class FindResultModel;
class ModelContext;
class TextLabel;

// The quick-find palette: a paper card centred over the main window with a field and the
// results of what is typed, or the last places gone to when the field is empty. Up and Down
// move, Return goes, Ctrl+Return closes or reopens the task in place, Esc closes; Tab moves
// between the field and the list and never leaves the palette.
class FindPalette : public QWidget
{
    Q_OBJECT

public:
    static constexpr qsizetype kResultLimit = 50;
    static constexpr size_t kRecentPlaces = 5;
    static constexpr int kQueryLimit = 500; // characters a query may have

    using Search = std::function<std::vector<FindResult>(const QString &query, qsizetype limit)>;
    // Takes the user to the result's place; false when it is no longer there.
    using Go = std::function<bool(const FindResult &result)>;

    FindPalette(ModelContext &context, Search search, Go go, QWidget *parent);

    // Shows the palette over its window with an empty field, or closes it when it is open.
    void toggle();
    void open();
    // Closes the palette; the focus goes back where it was unless the palette went somewhere.
    void dismiss();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildCard();
    // With `keepCurrent` (the records changed under the same query), the current result stays
    // current where it is still listed; otherwise the best result is.
    void runQuery(bool keepCurrent);
    void showResults(std::vector<FindResult> results, const QString &heading, bool keepCurrent);
    void step(int by);
    void goToCurrent();
    void toggleCurrent();
    void tell(const QString &message);
    void placeCard();
    void announceCurrent();
    bool handleKey(QKeyEvent *event);
    const FindResult *current() const;

    ModelContext &m_context;
    Search m_search;
    Go m_go;
    QWidget *m_card;
    QLineEdit *m_field;
    TextLabel *m_heading;
    QListView *m_list;
    FindResultModel *m_model;
    TextLabel *m_message;
    std::vector<FindResult> m_recent;
    QPointer<QWidget> m_returnFocus;
};

} // namespace furrow
