#include "ShortcutTab.h"

#include "GnomeShortcut.h"
#include "HotkeyRow.h"

#include "hotkey/HotkeyPreference.h"
#include "hotkey/HotkeyState.h"
#include "views/theme/Theme.h"
#include "views/widgets/HairLine.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/StepLabel.h"
#include "views/widgets/TextLabel.h"

#include <QBoxLayout>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>

namespace furrow {

namespace {
const QString kAddText = QStringLiteral("Add to GNOME's shortcuts");
const QString kRemoveText = QStringLiteral("Remove from GNOME's shortcuts");
} // namespace

ShortcutTab::ShortcutTab(std::function<HotkeyStatus(const HotkeyCombo &)> apply, bool supported,
                         QWidget *parent)
    : QWidget(parent)
    , m_row(new HotkeyRow(std::move(apply), HotkeyState::status(), supported, this))
{
    setObjectName(QStringLiteral("shortcutTab"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    layout->addWidget(new StepLabel(QStringLiteral("GLOBAL CAPTURE"), this));
    layout->addWidget(m_row);
    layout->addWidget(new HairLine(this));
    auto *about = new TextLabel(QStringLiteral("The panel opens over whatever you are doing and "
                                               "closes on Enter or Esc. The app never comes "
                                               "forward."),
                                Theme::body(), Theme::gray, this);
    about->setWordWrap(true);
    layout->addWidget(about);
    if (!supported)
        layout->addWidget(commandRow());
    layout->addStretch(1);
}

ShortcutTab::~ShortcutTab() = default;

QString ShortcutTab::command()
{
    return QStringLiteral("furrow --quick-capture");
}

void ShortcutTab::showHotkeyStatus(HotkeyStatus status)
{
    m_row->showStatus(status);
}

QWidget *ShortcutTab::commandRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto *text = new QLabel(command(), row);
    text->setObjectName(QStringLiteral("quickCaptureCommand"));
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(Theme::body().pointSizeF());
    text->setFont(mono);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(text);
    layout->addStretch(1);

    auto *copy = new PillButton(QStringLiteral("Copy"), PillButton::Kind::Normal, row);
    copy->setObjectName(QStringLiteral("copyCommand"));
    copy->setCompact(true);
    connect(copy, &QPushButton::clicked, this,
            [] { QGuiApplication::clipboard()->setText(command()); });
    layout->addWidget(copy);

    if (GnomeShortcut::isGnomeSession()) {
        m_gnome = std::make_unique<GnomeShortcut>();
        auto *gnome = new PillButton(kAddText, PillButton::Kind::Normal, row);
        gnome->setObjectName(QStringLiteral("gnomeShortcut"));
        gnome->setCompact(true);
        connect(gnome, &QPushButton::clicked, this, &ShortcutTab::toggleGnomeShortcut);
        layout->addWidget(gnome);
        m_gnomeButton = gnome;
    }
    return row;
}

void ShortcutTab::toggleGnomeShortcut()
{
    // Only a change that went through flips the button, so it always offers the next step.
    if (m_gnomeAdded ? m_gnome->remove() : m_gnome->add(HotkeyPreference::combo()))
        m_gnomeAdded = !m_gnomeAdded;
    m_gnomeButton->setText(m_gnomeAdded ? kRemoveText : kAddText);
}

} // namespace furrow
