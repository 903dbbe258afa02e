#pragma once

namespace furrow {

// What the session bus says about the desktop's Secret Service, asked without starting it and
// without any prompt.
namespace SecretService {

// A process owns org.freedesktop.secrets on the session bus.
bool isRunning();
// The default collection is locked: reading or writing it would ask the user to unlock it.
bool isLocked();

} // namespace SecretService
} // namespace furrow
