#include "AppIconState.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <algorithm>
#include <map>

namespace furrow::AppIconState {

namespace {

struct State
{
    int current = -1;
    std::map<int, QImage> cache;
    QString folder = QStringLiteral(":/AppIcon");
};

State &state()
{
    static State s;
    return s;
}

QImage imageFor(int level)
{
    if (level == 0)
        return {};
    State &s = state();
    if (const auto cached = s.cache.find(level); cached != s.cache.end())
        return cached->second;
    const QImage image(s.folder + QStringLiteral("/icon-state-%1.png").arg(level));
    if (!image.isNull())
        s.cache.emplace(level, image);
    return image;
}

} // namespace

void apply(qint64 closed, bool force)
{
    const int level = int(std::clamp<qint64>(closed, 0, 3));
    State &s = state();
    if (!force && level == s.current)
        return;
    s.current = level;
    const QImage image = imageFor(level);
    // QIcon scales the image to whatever size the task bar or dock asks for.
    QGuiApplication::setWindowIcon(image.isNull() ? plainIcon() : QIcon(QPixmap::fromImage(image)));
}

int current()
{
    return state().current;
}

void setImageFolder(const QString &folder)
{
    state().folder = folder;
    state().cache.clear();
}

QIcon plainIcon()
{
    return QIcon(QStringLiteral(":/AppIcon/furrow.png"));
}

} // namespace furrow::AppIconState
