#pragma once

#include "library/game_list.h"

namespace platform {
class FileCaseIndex;
}

namespace library {

struct ResolvedImage;

// Resolves a path and builds its row when it is a Saturn disc. With `missing`, a path whose
// resolution did not find a file it needs gives a missing row too, and `missing` names that
// file; every other path that is no Saturn disc gives no row. When a file that the image names
// is missing, or is no regular file (a pipe), `notFound` (when given) tells which, and where it
// is named, and `notRegular` (when given) which of the two it is. Safe on any thread.
bool buildRecord(const QString& path, GameRecord& record, platform::FileCaseIndex* index,
                 QString* missing = nullptr, QString* notFound = nullptr,
                 bool* notRegular = nullptr, ResolvedImage* resolved = nullptr);

} // namespace library
