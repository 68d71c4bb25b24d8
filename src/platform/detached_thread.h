#pragma once

#include <functional>

namespace platform {

// Runs `work` on a thread of its own that nobody waits for; what `work` holds is freed on that
// thread when it ends. On Windows the thread is the system's own: under load, MinGW's POSIX
// thread layer now and then left a new detached thread unstarted for over a minute (the list's
// check of the games sat on its first game). Throws std::system_error when no thread can be
// made, as std::thread does.
void runDetached(std::function<void()> work);

} // namespace platform
