#include "CaptureContext.h"

#include "model/Clock.h"
#include "model/UserDefaults.h"

#include <QDateTime>

#include <optional>

namespace furrow {

namespace {

const QString kReadDatesKey = QStringLiteral("capture.readDates");

// Read once per process and kept with every change made here: the fields read capture text on
// each keystroke, and opening the defaults costs more than the reading itself.
std::optional<bool> &cachedReadsDates()
{
    static std::optional<bool> value;
    return value;
}

} // namespace

CaptureContext CaptureContext::current()
{
    CaptureContext context;
    context.today = toLocalDateTime(Clock::now()).date();
    static const bool dayBeforeMonth = dayBeforeMonthIn(QLocale::system());
    context.dayBeforeMonth = dayBeforeMonth;
    context.readDates = readsDates();
    return context;
}

bool CaptureContext::dayBeforeMonthIn(const QLocale &locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = format.indexOf(u'd');
    const qsizetype month = format.indexOf(u'M');
    return day < 0 || month < 0 || day < month;
}

bool CaptureContext::readsDates()
{
    std::optional<bool> &cached = cachedReadsDates();
    if (!cached)
        cached = UserDefaults::open()->value(kReadDatesKey, true).toBool();
    return *cached;
}

void CaptureContext::setReadsDates(bool on)
{
    UserDefaults::open()->setValue(kReadDatesKey, on);
    cachedReadsDates() = on;
}

} // namespace furrow
