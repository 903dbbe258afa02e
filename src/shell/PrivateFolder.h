#pragma once

#include <QString>

namespace furrow {

// A folder that belongs to this user alone: owned by them and closed to everyone else, checked
// at its own name without following a link. Only such a folder may hold the hand-over socket,
// so that no other local user can put a socket of theirs where our processes look for one.
namespace PrivateFolder {

enum class State { Missing, Private, Unsafe };

// How the folder at `path` stands; for an unsafe one, `problem` says why.
State check(const QString &path, QString *problem);

// Creates the folder (0700) when it is missing, then checks it.
State prepare(const QString &path, QString *problem);

} // namespace PrivateFolder
} // namespace furrow
