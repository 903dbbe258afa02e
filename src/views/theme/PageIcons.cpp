#include "views/theme/PageIcons.h"

namespace furrow::PageIcons {

const QList<Group> &groups()
{
    static const QList<Group> list = {
        {"Work",
         {"briefcase",
          "folder",
          "folder-open",
          "note",
          "notebook",
          "paperclip",
          "presentation-chart",
          "chart-line-up",
          "chart-bar",
          "target",
          "check-square",
          "clipboard-text",
          "calendar-blank",
          "calendar-check",
          "clock",
          "timer",
          "hourglass",
          "list-checks",
          "kanban",
          "tray",
          "archive",
          "printer",
          "scissors",
          "pen-nib",
          "pencil",
          "table",
          "read-cv-logo"}},
        {"People",
         {"user", "users", "user-circle", "users-three", "handshake", "chats-circle", "chat-circle",
          "phone", "envelope-simple", "megaphone", "student", "person-simple-walk", "smiley",
          "address-book"}},
        {"Tech", {"code",       "terminal-window", "bug",           "database", "cpu",
                  "cloud",      "wifi-high",       "plug",          "gear",     "wrench",
                  "hammer",     "monitor",         "device-mobile", "laptop",   "hard-drives",
                  "git-branch", "brackets-curly",  "robot",         "cube",     "stack",
                  "lightning-a"}},
        {"Design",
         {"palette", "paint-brush", "paint-bucket", "pen", "ruler", "crop", "layout", "selection",
          "magic-wand", "sparkle", "drop", "circles-three", "shapes", "image", "swatches",
          "frame-corners"}},
        {"Media",
         {"camera", "video-camera", "music-notes", "film-slate", "microphone", "headphones",
          "play-circle", "book-open", "books", "newspaper", "article", "bookmark-simple",
          "file-text", "microphone-stage"}},
        {"Life", {"house",  "bed",     "bathtub",       "cooking-pot",   "fork-knife",
                  "coffee", "wine",    "shopping-cart", "shopping-bag",  "gift",
                  "heart",  "barbell", "bicycle",       "first-aid-kit", "pill",
                  "dog",    "cat",     "plant",         "leaf",          "tree",
                  "flower", "sun",     "moon",          "cloud-sun",     "snowflake"}},
        {"Travel",
         {"airplane-tilt", "car", "train", "bus", "boat", "map-pin", "globe", "compass", "suitcase",
          "tent", "mountains", "anchor"}},
        {"Money",
         {"currency-dollar", "currency-circle-dollar", "wallet", "credit-card", "bank", "receipt",
          "coins", "chart-pie", "trend-up", "piggy-bank"}},
        {"Symbols", {"star",         "flag",     "tag",   "lightning", "fire",
                     "lightbulb",    "warning",  "info",  "question",  "seal-check",
                     "medal",        "trophy",   "crown", "key",       "lock",
                     "shield-check", "eye",      "bell",  "rocket",    "infinity",
                     "puzzle-piece", "hash",     "at",    "link",      "magnifying-glass",
                     "funnel",       "confetti", "ghost", "skull"}},
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
