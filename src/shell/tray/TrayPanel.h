#pragma once

#include <QUuid>
#include <QWidget>

class QLineEdit;
class QVBoxLayout;

namespace furrow {

class CaptureMarks;
class IconView;
class ModelContext;
class Page;
class TextLabel;

// The small window the tray icon opens: the first page's open tasks, at most three sections
// of at most five tasks, a capture field that files into the page's first section, and the
// buttons that open the main window and the quick capture panel. It reads the planner anew
// each time it is shown and whenever the planner changes while it is shown.
class TrayPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 320;
    static constexpr int kMaxSections = 3;
    static constexpr int kMaxRows = 5;

    explicit TrayPanel(ModelContext &context, QWidget *parent = nullptr);

    // Reads the first page's sections and tasks again.
    void refresh();

Q_SIGNALS:
    // "Open" was pressed: the main window is to come forward.
    void openRequested();
    // "Quick capture" was pressed: the capture panel is to open.
    void quickCaptureRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildCaptureField();
    QWidget *buildButtons();
    QWidget *buildSections(const Page *page);
    void capture();
    void closeTask(const QUuid &taskId);

    ModelContext &m_context;
    QVBoxLayout *m_layout;
    QWidget *m_header;
    IconView *m_headerIcon;
    TextLabel *m_headerName;
    QWidget *m_sections = nullptr;
    QLineEdit *m_capture = nullptr;
    CaptureMarks *m_marks = nullptr;
};

} // namespace furrow
