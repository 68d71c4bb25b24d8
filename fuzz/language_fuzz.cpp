// A language file parsed and applied to the three windows of a launcher that runs off screen.

#include "app/main_window.h"
#include "fuzz_support.h"
#include "i18n/language_file.h"
#include "i18n/text_bindings.h"
#include "launch/cd_window.h"
#include "library/properties_window.h"

#include <QApplication>
#include <QDir>

#include <cstddef>
#include <cstdint>

namespace {

TForm1* form1 = nullptr;
launch::TForm3* form3 = nullptr;
library::TForm2* form2 = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    // An empty application folder: the launcher starts with nothing to load.
    QDir::setCurrent(fuzzsupport::scratchFolder());
    form1 = new TForm1;
    form3 = new launch::TForm3(form1);
    form2 = new library::TForm2(form1);
    form1->attachWindows(form3, form2);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const i18n::LanguageText text(i18n::parseLanguageFile(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))));
    for (const int languageIndex : {0, 1}) {
        i18n::applyTexts(i18n::Form::Main, form1, text, languageIndex);
        i18n::applyTexts(i18n::Form::Properties, form2, text, languageIndex);
        i18n::applyTexts(i18n::Form::Cd, form3, text, languageIndex);
    }
    return 0;
}
