#pragma once

#include <QSettings>

#include <memory>

namespace furrow {

// The user's defaults: an INI file at $XDG_CONFIG_HOME/Furrow/Furrow.conf under the key names
// the planner uses ("sync.token", "vectors.0.name", …). The file is kept readable by its owner
// only, because it holds the sync token and the secret phrase. Every QSettings opened here
// shares one in-process cache, so a value written through one is seen by all.
namespace UserDefaults {

QString filePath();
std::unique_ptr<QSettings> open();

} // namespace UserDefaults
} // namespace furrow
