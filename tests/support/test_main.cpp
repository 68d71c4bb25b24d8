#include "library/game_list.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
#ifdef Q_OS_WIN
    // Wine's file system emulation now and then stalls for seconds; no folder hangs in these
    // tests (the hanging-folder test runs on Linux).
    library::GameList::setStallMs(120000);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
