// Cue sheets, CCD files and playlists resolved to their data file, with the header read.
// The first byte picks the kind of image; the rest is the image file, and after a line
// "--data--" the bytes of the data file every kind can reach.

#include "fuzz_support.h"
#include "library/disc_image.h"
#include "platform/io_error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data) + 1,
                           static_cast<qsizetype>(size - 1));
    const qsizetype split = input.indexOf("\n--data--\n");
    const QByteArray image = split < 0 ? input : input.left(split);
    const QByteArray disc = split < 0 ? QByteArray() : input.mid(split + 10);
    fuzzsupport::writeFile("Data.bin", disc);
    fuzzsupport::writeFile("G.img", disc);
    fuzzsupport::writeFile("A.cue", "FILE \"Data.bin\" BINARY\r\n");
    static const char* const names[] = {"G.cue", "G.ccd", "G.m3u"};
    const QString path = fuzzsupport::writeFile(names[data[0] % 3], image);
    try {
        library::DiscHeader header;
        const library::ResolvedImage resolved = library::resolveImage(path, &header);
        if (resolved.isSaturn) {
            // The properties window reads the header again: it must show what the list shows.
            const library::DiscHeader again = library::readDiscHeader(resolved);
            FUZZ_CHECK(again.fields == header.fields);
        }
    } catch (const platform::IoError&) {
    }
    return 0;
}
