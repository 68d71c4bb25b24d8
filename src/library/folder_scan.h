#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace library {

// The image files (cue sheets, CCD files, playlists; extension in any letter case) below a
// folder, in the order they are added: a folder's own files first, then each subfolder whole,
// one after another; names within a folder in the order the list sorts its rows. A link to a
// folder is followed unless it leads to a folder already scanned, which also ends link loops.
// A cue sheet that a playlist of the same folder names is left out: the playlist stands for
// the multi-disc game. `cancelled` is asked after every folder; the files found so far are
// returned once it says true.
QStringList scanImageFolder(const QString& folder, const std::function<bool()>& cancelled = {});

// Whether a path names a file the list takes by its extension (".cue", ".ccd", ".m3u").
bool hasImageExtension(const QString& path);

} // namespace library
