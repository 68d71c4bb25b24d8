// List.ini loaded at start-up, validated against a folder with real games (and the header cache
// the runs before left there), written back, then sorted and shortened. After the start-up check
// and every change the file mirrors the rows.

#include "disc_writer.h"
#include "fuzz_support.h"
#include "i18n/messages.h"
#include "library/game_list.h"
#include "platform/io_error.h"

#include <QCoreApplication>
#include <QDir>

#include <cstddef>
#include <cstdint>

namespace {

QByteArray rowsAsFile(library::GameListModel* model) {
    QByteArray text;
    for (const QString& path : model->paths())
        text += path.toLocal8Bit() + "\r\n";
    return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The start-up check runs beside the list and hands its results over through the events.
    static QCoreApplication app(*argc, *argv);
    i18n::initMessageTable();
    const QString folder = fuzzsupport::scratchFolder();
    discwriter::Header header;
    header.productNumber = "T-1";
    discwriter::writeCueGame(folder, "A", header, discwriter::Sectors::Raw2352, 1);
    discwriter::writeCcdGame(folder, "B", header);
    discwriter::writeM3uGame(folder, "C", {header, header});
    discwriter::writeCueGame(folder, "N", discwriter::nonSaturnHeader(),
                             discwriter::Sectors::Raw2352, 1);
    // Entries may be relative to the application folder.
    QDir::setCurrent(folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString listFile = fuzzsupport::writeFile(
        "List.ini", QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    library::GameList list(fuzzsupport::scratchFolder());
    try {
        list.startUp();
        FUZZ_CHECK(list.waitForStartUpCheck());
        FUZZ_CHECK(fuzzsupport::readFile(listFile) == rowsAsFile(list.model()));
        list.sortByColumn(2);
        list.deleteRow(0);
        FUZZ_CHECK(fuzzsupport::readFile(listFile) == rowsAsFile(list.model()));
    } catch (const platform::IoError&) {
    }
    return 0;
}
