#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// True when the bytes begin like a gzip stream (the emulator compresses its save backups).
bool isGzip(const QByteArray& bytes);
// The bytes a gzip stream holds; throws IoError (with `path` in its text) when the stream is
// damaged or would unpack to more than `maxBytes`.
QByteArray gunzip(const QByteArray& bytes, qint64 maxBytes, const QString& path);

} // namespace platform
