#include "platform/detached_thread.h"

#include <QtGlobal>

#include <memory>
#include <system_error>
#include <thread>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>

#include <process.h>
#endif

namespace platform {

#ifdef Q_OS_WIN
namespace {

unsigned __stdcall runWork(void* parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

} // namespace
#endif

void runDetached(std::function<void()> work) {
#ifdef Q_OS_WIN
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    const uintptr_t thread = _beginthreadex(nullptr, 0, runWork, owned.get(), 0, nullptr);
    if (thread == 0)
        throw std::system_error(errno, std::generic_category(), "_beginthreadex");
    owned.release(); // the thread owns it now
    CloseHandle(reinterpret_cast<HANDLE>(thread));
#else
    std::thread(std::move(work)).detach();
#endif
}

} // namespace platform
