#include "platform/disk_reads.h"

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

namespace platform {

qint64 diskBlocksReadByThisThread() {
#ifdef Q_OS_LINUX
    struct rusage usage {};
    if (::getrusage(RUSAGE_THREAD, &usage) == 0)
        return usage.ru_inblock;
#endif
    return -1;
}

} // namespace platform
