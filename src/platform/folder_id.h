#pragma once

#include <QHashFunctions>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace platform {

// What names a folder on its disk whatever path leads to it (links included): the device and
// the folder's number on it. Two paths reach the same folder exactly when their ids are equal.
struct FolderId {
    quint64 device = 0;
    quint64 number = 0;

    bool operator==(const FolderId&) const = default;
};

inline size_t qHash(const FolderId& id, size_t seed = 0) noexcept {
    return qHashMulti(seed, id.device, id.number);
}

// The id of the folder at path (after links), with one status query; nothing when there is no
// folder there or the system does not tell.
std::optional<FolderId> folderId(const QString& path);

} // namespace platform
