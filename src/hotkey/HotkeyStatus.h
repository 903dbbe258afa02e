#pragma once

namespace furrow {

// What became of the latest registration of the capture hotkey.
enum class HotkeyStatus {
    Registered, // the desktop took the combination
    Waiting,    // the desktop is asking the user and has not answered yet
    Taken,      // another application holds the combination
    Refused,    // the desktop, or the user in its dialog, did not allow it
    Unregistered,
};

} // namespace furrow
