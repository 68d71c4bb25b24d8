#include "platform/gzip.h"

#include "platform/io_error.h"
#include "platform/text_file.h"

#include <QString>

// Windows takes zlib from the Qt library, which carries it with prefixed names; elsewhere Qt
// uses the system's.
#ifdef Q_OS_WIN
#include <QtZlib/zlib.h>
#else
#include <zlib.h>
#endif

namespace platform {

bool isGzip(const QByteArray& bytes) {
    return bytes.size() >= 18 && static_cast<unsigned char>(bytes[0]) == 0x1f &&
           static_cast<unsigned char>(bytes[1]) == 0x8b;
}

QByteArray gunzip(const QByteArray& bytes, qint64 maxBytes, const QString& path) {
    const auto damaged = [&path] {
        return IoError(fileErrorText(path, QStringLiteral("The compressed data is damaged.")));
    };
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        throw damaged();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    QByteArray out;
    char chunk[64 * 1024];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        const qsizetype produced = static_cast<qsizetype>(sizeof chunk - stream.avail_out);
        if ((status != Z_OK && status != Z_STREAM_END) || out.size() + produced > maxBytes ||
            (status == Z_OK && produced == 0 && stream.avail_in == 0)) {
            inflateEnd(&stream);
            throw damaged();
        }
        out.append(chunk, produced);
    }
    inflateEnd(&stream);
    return out;
}

} // namespace platform
