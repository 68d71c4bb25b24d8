#pragma once

#include <QtGlobal>

namespace platform {

// How many blocks the calling thread has had read from a disk so far: reads the page cache
// served do not count, so a run of reads that adds none found every file cached. -1 where the
// system does not tell.
qint64 diskBlocksReadByThisThread();

} // namespace platform
