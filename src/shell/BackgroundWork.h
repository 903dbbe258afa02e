#pragma once

#include <functional>

namespace furrow::BackgroundWork {

// Runs `work` on a worker thread and returns when it is done. Meanwhile the main thread keeps
// painting and serving timers, sync and the backup writer; user input waits until the work is
// done, so that nothing the user does can act on the state the work started from. For reading
// and decoding files large enough to take longer than a frame.
void run(const std::function<void()> &work);

} // namespace furrow::BackgroundWork
