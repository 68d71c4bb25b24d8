#pragma once

#include "platform/detached_thread.h"

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

namespace library {

// Frees a large structure on a thread of its own: freeing a hundred thousand rows would hold
// the window's thread for tens of milliseconds. (Strings shared with the rows still listed
// count their users atomically.)
template <typename T> void releaseBeside(T&& doomed, size_t size) {
    if (size < 1000)
        return; // small enough to go here, as `doomed` leaves this scope
    platform::runDetached([released = std::make_shared<std::decay_t<T>>(std::move(doomed))] {});
}

} // namespace library
