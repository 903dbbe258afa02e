#include "BackgroundNotice.h"

#include "model/UserDefaults.h"
#include "views/settings/SessionAutostart.h"

#include <QMessageBox>
#include <QPushButton>

namespace furrow {

namespace {
const QString kShownKey = QStringLiteral("notice.background.shown");
} // namespace

void BackgroundNotice::showOnce()
{
    const auto defaults = UserDefaults::open();
    if (defaults->value(kShownKey).toBool())
        return;
    defaults->setValue(kShownKey, true);

    auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Furrow"),
                                QStringLiteral("Furrow keeps running for quick capture and "
                                               "reminders. Quit from the tray or with Ctrl+Q."));
    box->setObjectName(QStringLiteral("backgroundNotice"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (!SessionAutostart::isEnabled()) {
        QPushButton *start
            = box->addButton(QStringLiteral("Start with my session"), QMessageBox::AcceptRole);
        start->setObjectName(QStringLiteral("startWithSession"));
        QObject::connect(start, &QPushButton::clicked, [] { SessionAutostart::setEnabled(true); });
    }
    box->setDefaultButton(box->addButton(QMessageBox::Ok));
    box->open();
}

} // namespace furrow
