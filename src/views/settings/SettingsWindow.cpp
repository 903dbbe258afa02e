#include "views/settings/SettingsWindow.h"

#include "views/menus/MenuController.h"
#include "views/settings/GeneralTab.h"
#include "views/settings/ProjectsTab.h"
#include "views/settings/TabPillBar.h"
#include "views/theme/Theme.h"
#include "views/widgets/HairLine.h"
#include "views/widgets/QuietScrollArea.h"
#include "views/widgets/TextLabel.h"
#include "views/widgets/WindowPresenting.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeySequence>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QtMath>

namespace furrow {

namespace {

constexpr int kSideMargin = 28;
// Where a tab's content starts below the header hairline, and the space left below it.
constexpr int kTopInset = 22;
constexpr int kBottomInset = 24;

// A page for content put in from outside: inset like the window's own tabs and scrolled when
// taller than the window.
class InsetPage : public QuietScrollArea
{
public:
    explicit InsetPage(QWidget *content)
        : m_content(content)
    {
        auto *body = new QWidget;
        auto *column = new QVBoxLayout(body);
        column->setContentsMargins(kSideMargin, kTopInset, kSideMargin, kBottomInset);
        column->setSpacing(0);
        column->addWidget(content);
        setContent(body);
    }
    QWidget *content() const { return m_content; }

private:
    QWidget *m_content;
};

// What the desktop's title bar and borders are taken to add before the window was first shown.
constexpr QSize kFrameAllowance(16, 48);

// The application's name on a lime capsule: lime text on paper could hardly be read.
class NameBadge : public QWidget
{
public:
    explicit NameBadge(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("appName"));
        setAccessibleName(text());
        setFont(Theme::sans(13, QFont::DemiBold));
        const QSizeF textSize = QFontMetricsF(font()).size(Qt::TextSingleLine, text());
        setFixedSize(qCeil(textSize.width()) + 20, qCeil(textSize.height()) + 6);
    }
    static QString text() { return QStringLiteral("Furrow"); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::bright);
        const QRectF capsule(rect());
        painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
        painter.setPen(Theme::pine);
        painter.drawText(capsule, Qt::AlignCenter, text());
    }
};

} // namespace

SettingsWindow::SettingsWindow(ModelContext &context, BackupTab::Actions backupActions,
                               QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_menus(new MenuController(this))
    , m_projects(new ProjectsTab(context, *m_menus))
{
    setObjectName(QStringLiteral("settings"));
    setWindowTitle(QStringLiteral("Settings"));
    resize(540, 560);
    setAutoFillBackground(true);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, Theme::paper);
    setPalette(colors);

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(new InsetPage(new GeneralTab));
    m_pages->addWidget(m_projects);
    // The Shortcut and Sync pages are put in by whoever owns what they control.
    m_pages->addWidget(new InsetPage(new QWidget));
    m_pages->addWidget(new InsetPage(new QWidget));
    m_pages->addWidget(new BackupTab(std::move(backupActions)));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildHeader());
    column->addWidget(new HairLine(this));
    column->addWidget(m_pages, 1);
    m_pages->setCurrentIndex(int(m_tabs->current()));

    connect(m_tabs, &TabPillBar::picked, this, &SettingsWindow::showTab);
    const auto onKeys = [this](QKeySequence keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    // Esc closes the innermost thing: an open popover first, the window only after that.
    onKeys(QKeySequence(Qt::Key_Escape), [this] {
        if (m_menus->isOpen())
            m_menus->close();
        else
            close();
    });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_W), [this] { close(); });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { stepTab(1); });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { stepTab(1); });
    onKeys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { stepTab(-1); });
    onKeys(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { stepTab(-1); });
}

QWidget *SettingsWindow::buildHeader()
{
    auto *header = new QWidget(this);
    auto *column = new QVBoxLayout(header);
    column->setContentsMargins(kSideMargin, 20, kSideMargin, 14);
    column->setSpacing(14);
    auto *titles = new QHBoxLayout;
    titles->setSpacing(10);
    titles->addWidget(new NameBadge(header), 0, Qt::AlignVCenter);
    titles->addWidget(
        new TextLabel(QStringLiteral("Settings"), Theme::stepTitle(), Theme::ink, header), 0,
        Qt::AlignVCenter);
    titles->addStretch(1);
    column->addLayout(titles);
    m_tabs = new TabPillBar(header);
    m_tabs->setObjectName(QStringLiteral("tabBar"));
    column->addWidget(m_tabs);
    return header;
}

void SettingsWindow::setTabContent(Tab tab, QWidget *content)
{
    const int index = int(tab);
    QWidget *old = m_pages->widget(index);
    const bool shown = m_pages->currentIndex() == index;
    m_pages->insertWidget(index, new InsetPage(content));
    m_pages->removeWidget(old);
    old->deleteLater();
    if (shown)
        m_pages->setCurrentIndex(index);
}

QWidget *SettingsWindow::tabContent(Tab tab) const
{
    QWidget *page = m_pages->widget(int(tab));
    if (const auto *inset = dynamic_cast<const InsetPage *>(page))
        return inset->content();
    return page;
}

void SettingsWindow::showTab(Tab tab)
{
    m_menus->close();
    m_tabs->setCurrent(tab);
    m_pages->setCurrentIndex(int(tab));
}

SettingsWindow::Tab SettingsWindow::currentTab() const
{
    return m_tabs->current();
}

void SettingsWindow::stepTab(int delta)
{
    const int count = int(SettingsTabs::all.size());
    const int next = (int(currentTab()) + delta + count) % count;
    showTab(SettingsTabs::all[std::size_t(next)]);
}

void SettingsWindow::commitEdits()
{
    m_projects->commitEdits();
}

void SettingsWindow::hideEvent(QHideEvent *event)
{
    m_menus->close();
    commitEdits();
    QWidget::hideEvent(event);
}

void SettingsWindow::present()
{
    if (!isVisible())
        placeOnScreen();
    presentWindow(*this);
}

void SettingsWindow::placeOnScreen()
{
    const QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    const QRect area = (screen ? screen : this->screen())->availableGeometry();
    QSize frame = frameGeometry().size() - size();
    if (frame.isNull())
        frame = kFrameAllowance;
    resize(size().boundedTo(area.size() - frame));
    if (testAttribute(Qt::WA_Moved) && area.contains(QRect(pos(), size() + frame)))
        return;
    QRect placed(QPoint(), size() + frame);
    placed.moveCenter(area.center());
    move(placed.topLeft());
}

} // namespace furrow
