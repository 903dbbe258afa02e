#include "views/theme/PageIcons.h"

namespace furrow::PageIcons {

using namespace Qt::StringLiterals;

const QList<Group> &groups()
{
    static const QList<Group> list = {
        {u"Work"_s,
         {u"briefcase"_s,
          u"folder"_s,
          u"folder-open"_s,
          u"note"_s,
          u"notebook"_s,
          u"paperclip"_s,
          u"presentation-chart"_s,
          u"chart-line-up"_s,
          u"chart-bar"_s,
          u"target"_s,
          u"check-square"_s,
          u"clipboard-text"_s,
          u"calendar-blank"_s,
          u"calendar-check"_s,
          u"clock"_s,
          u"timer"_s,
          u"hourglass"_s,
          u"list-checks"_s,
          u"kanban"_s,
          u"tray"_s,
          u"archive"_s,
          u"printer"_s,
          u"scissors"_s,
          u"pen-nib"_s,
          u"pencil"_s,
          u"table"_s,
          u"read-cv-logo"_s}},
        {u"People"_s,
         {u"user"_s, u"users"_s, u"user-circle"_s, u"users-three"_s, u"handshake"_s,
          u"chats-circle"_s, u"chat-circle"_s, u"phone"_s, u"envelope-simple"_s, u"megaphone"_s,
          u"student"_s, u"person-simple-walk"_s, u"smiley"_s, u"address-book"_s}},
        {u"Tech"_s, {u"code"_s,
                     u"terminal-window"_s,
                     u"bug"_s,
                     u"database"_s,
                     u"cpu"_s,
                     u"cloud"_s,
                     u"wifi-high"_s,
                     u"plug"_s,
                     u"gear"_s,
                     u"wrench"_s,
                     u"hammer"_s,
                     u"monitor"_s,
                     u"device-mobile"_s,
                     u"laptop"_s,
                     u"hard-drives"_s,
                     u"git-branch"_s,
                     u"brackets-curly"_s,
                     u"robot"_s,
                     u"cube"_s,
                     u"stack"_s,
                     u"lightning-a"_s}},
        {u"Design"_s,
         {u"palette"_s, u"paint-brush"_s, u"paint-bucket"_s, u"pen"_s, u"ruler"_s, u"crop"_s,
          u"layout"_s, u"selection"_s, u"magic-wand"_s, u"sparkle"_s, u"drop"_s, u"circles-three"_s,
          u"shapes"_s, u"image"_s, u"swatches"_s, u"frame-corners"_s}},
        {u"Media"_s,
         {u"camera"_s, u"video-camera"_s, u"music-notes"_s, u"film-slate"_s, u"microphone"_s,
          u"headphones"_s, u"play-circle"_s, u"book-open"_s, u"books"_s, u"newspaper"_s,
          u"article"_s, u"bookmark-simple"_s, u"file-text"_s, u"microphone-stage"_s}},
        {u"Life"_s,
         {u"house"_s,  u"bed"_s,     u"bathtub"_s,       u"cooking-pot"_s,   u"fork-knife"_s,
          u"coffee"_s, u"wine"_s,    u"shopping-cart"_s, u"shopping-bag"_s,  u"gift"_s,
          u"heart"_s,  u"barbell"_s, u"bicycle"_s,       u"first-aid-kit"_s, u"pill"_s,
          u"dog"_s,    u"cat"_s,     u"plant"_s,         u"leaf"_s,          u"tree"_s,
          u"flower"_s, u"sun"_s,     u"moon"_s,          u"cloud-sun"_s,     u"snowflake"_s}},
        {u"Travel"_s,
         {u"airplane-tilt"_s, u"car"_s, u"train"_s, u"bus"_s, u"boat"_s, u"map-pin"_s, u"globe"_s,
          u"compass"_s, u"suitcase"_s, u"tent"_s, u"mountains"_s, u"anchor"_s}},
        {u"Money"_s,
         {u"currency-dollar"_s, u"currency-circle-dollar"_s, u"wallet"_s, u"credit-card"_s,
          u"bank"_s, u"receipt"_s, u"coins"_s, u"chart-pie"_s, u"trend-up"_s, u"piggy-bank"_s}},
        {u"Symbols"_s,
         {u"star"_s,         u"flag"_s,     u"tag"_s,   u"lightning"_s, u"fire"_s,
          u"lightbulb"_s,    u"warning"_s,  u"info"_s,  u"question"_s,  u"seal-check"_s,
          u"medal"_s,        u"trophy"_s,   u"crown"_s, u"key"_s,       u"lock"_s,
          u"shield-check"_s, u"eye"_s,      u"bell"_s,  u"rocket"_s,    u"infinity"_s,
          u"puzzle-piece"_s, u"hash"_s,     u"at"_s,    u"link"_s,      u"magnifying-glass"_s,
          u"funnel"_s,       u"confetti"_s, u"ghost"_s, u"skull"_s}},
    };
    return list;
}

const QStringList &all()
{
    static const QStringList list = [] {
        QStringList result;
        for (const Group &group : groups())
            result += group.icons;
        return result;
    }();
    return list;
}

QStringList search(const QString &query)
{
    // Trimmed before the spaces become hyphens, so "folder " still finds "folder".
    const QString key = query.trimmed().toLower().replace(u' ', u'-');
    if (key.isEmpty())
        return all();
    QStringList found;
    for (const QString &name : all()) {
        if (name.contains(key))
            found.append(name);
    }
    return found;
}

} // namespace furrow::PageIcons
