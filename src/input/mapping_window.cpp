#include "input/mapping_window.h"

#include "controls/dialogs.h"
#include "i18n/messages.h"
#include "input/default_mappings.h"
#include "input/key_codes.h"
#include "input/mapping.h"
#include "platform/instance_lock.h"
#include "platform/io_error.h"
#include "platform/keyboard.h"
#include "platform/text_file.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <thread>

namespace input {

namespace {

using i18n::Extra;

QString text(Extra e) {
    return i18n::message(e);
}

// Runs the work on a thread of its own while the window's thread keeps painting (user input
// waits meanwhile): mednafen.cfg can be tens of megabytes. Throws what the work threw.
void runBeside(const std::function<void()>& work) {
#ifdef Q_OS_WIN
    // Under Wine the write on a thread of its own crashed the Windows build: there the work
    // runs on the window's thread, as it did before.
    work();
    return;
#endif
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

QPushButton* addButton(QHBoxLayout* row, const char* name, Extra caption) {
    auto* button = new QPushButton(text(caption));
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

MappingWindow::MappingWindow(MappingEditor editor, const QString& deviceLabel,
                             const QString& configPath,
                             const QHash<QString, QString>& joystickNames,
                             std::function<bool()> emulatorRunning, QWidget* parent)
    : QDialog(parent), editor_(std::move(editor)), configPath_(configPath),
      joysticks_(joystickNames), emulatorRunning_(std::move(emulatorRunning)) {
    setObjectName(QStringLiteral("MappingWindow"));
    setWindowTitle(text(Extra::MapTitle).arg(editor_.port()).arg(deviceLabel));
    resize(520, 500);

    auto* layout = new QVBoxLayout(this);
    auto* help = new QLabel(text(Extra::MapHelp));
    help->setWordWrap(true);
    layout->addWidget(help);

    list_ = new QTreeWidget;
    list_->setObjectName(QStringLiteral("ButtonList"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({text(Extra::MapButtonColumn), text(Extra::MapMappingColumn)});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->header()->setStretchLastSection(true);
    list_->installEventFilter(this);
    for (int i = 0; i < editor_.count(); ++i)
        list_->addTopLevelItem(new QTreeWidgetItem);
    for (int i = 0; i < editor_.count(); ++i)
        showButton(i);
    // Wide enough for every name in bold, as a changed button shows it.
    QFont bold = list_->font();
    bold.setBold(true);
    int nameWidth = 0;
    for (int i = 0; i < editor_.count(); ++i)
        nameWidth = std::max(nameWidth, QFontMetrics(bold).horizontalAdvance(editor_.label(i)));
    list_->setColumnWidth(0, nameWidth + 24);
    list_->setCurrentItem(list_->topLevelItem(0));
    layout->addWidget(list_, 1);

    auto* how = new QHBoxLayout;
    replace_ = new QRadioButton(text(Extra::MapReplace));
    replace_->setObjectName(QStringLiteral("ReplaceChoice"));
    replace_->setChecked(true);
    addKey_ = new QRadioButton(text(Extra::MapAddKey));
    addKey_->setObjectName(QStringLiteral("AddKeyChoice"));
    how->addWidget(replace_);
    how->addWidget(addKey_);
    how->addStretch(1);
    layout->addLayout(how);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("StatusLine"));
    status_->setWordWrap(true);
    status_->setMinimumHeight(2 * fontMetrics().height());
    layout->addWidget(status_);

    auto* row = new QHBoxLayout;
    connect(addButton(row, "SetKeyButton", Extra::MapSetKey), &QPushButton::clicked, this,
            &MappingWindow::startCapture);
    connect(addButton(row, "ClearButton", Extra::MapClear), &QPushButton::clicked, this,
            &MappingWindow::clearButton);
    connect(addButton(row, "DefaultsButton", Extra::MapDefaults), &QPushButton::clicked, this,
            &MappingWindow::restoreDefaults);
    if (editor_.sharesPadButtons())
        connect(addButton(row, "CopyFromPadButton", Extra::CopyFromPad), &QPushButton::clicked,
                this, &MappingWindow::copyFromPad);
    row->addStretch(1);
    connect(addButton(row, "OkButton", Extra::MapOk), &QPushButton::clicked, this,
            &MappingWindow::okClick);
    connect(addButton(row, "CancelButton", Extra::CancelButton), &QPushButton::clicked, this,
            &QDialog::reject);
    layout->addLayout(row);

    // One click per button: a click on a row waits for its key.
    connect(list_, &QTreeWidget::itemClicked, this, [this] { startCapture(); });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] {
        if (capturing_)
            cancelCapture();
    });
    list_->setFocus();
}

QString MappingWindow::statusText() const {
    return status_->text();
}

int MappingWindow::currentButton() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(item) : -1;
}

void MappingWindow::showButton(int button) {
    QTreeWidgetItem* item = list_->topLevelItem(button);
    item->setText(0, editor_.label(button));
    item->setText(1, describeMapping(editor_.value(button), joysticks_));
    item->setToolTip(1, editor_.value(button));
    // The rows "OK" will write stand out.
    QFont font = list_->font();
    font.setBold(editor_.changed(button));
    item->setFont(0, font);
    item->setFont(1, font);
}

void MappingWindow::setStatus(const QString& message, bool warning) {
    status_->setText(message);
    status_->setStyleSheet(warning ? QStringLiteral("color: #b00000;") : QString());
}

void MappingWindow::startCapture() {
    const int button = currentButton();
    if (button < 0)
        return;
    capturing_ = true;
    confirmUsage_ = 0;
    list_->setFocus();
    setStatus(text(Extra::MapPrompt).arg(editor_.label(button)), false);
    list_->topLevelItem(button)->setText(1, QStringLiteral("..."));
}

void MappingWindow::cancelCapture() {
    const bool was = capturing_;
    capturing_ = false;
    confirmUsage_ = 0;
    setStatus(QString(), false);
    if (was)
        for (int i = 0; i < editor_.count(); ++i)
            showButton(i);
}

void MappingWindow::clearButton() {
    const int button = currentButton();
    if (button < 0)
        return;
    editor_.clear(button);
    cancelCapture();
    showButton(button);
}

void MappingWindow::restoreDefaults() {
    editor_.restoreDefaults();
    cancelCapture();
    for (int i = 0; i < editor_.count(); ++i)
        showButton(i);
}

void MappingWindow::copyFromPad() {
    editor_.copyFromPad();
    cancelCapture();
    for (int i = 0; i < editor_.count(); ++i)
        showButton(i);
}

void MappingWindow::keyPressed(quint32 nativeScanCode) {
    const int button = currentButton();
    if (!capturing_ || button < 0)
        return;
    const int usage = usageOf(platform::nativeKey(nativeScanCode));
    if (usage == 0) {
        setStatus(text(Extra::MapUnknownKey), true);
        return;
    }
    const std::optional<QString> user = editor_.conflict(button, usage);
    if (user && confirmUsage_ != usage) {
        confirmUsage_ = usage;
        setStatus(text(Extra::MapConflict).arg(keyName(usage), *user), true);
        return;
    }
    editor_.setKey(button, usage, addKey_->isChecked());
    cancelCapture();
    showButton(button);
    // On to the next button, so Enter maps the pad in order.
    if (button + 1 < editor_.count())
        list_->setCurrentItem(list_->topLevelItem(button + 1));
}

void MappingWindow::okClick() {
    cancelCapture();
    const QList<Setting> changes = editor_.changes();
    if (!changes.isEmpty()) {
        // The emulator writes its whole configuration when it ends: a change now would be lost.
        if (emulatorRunning_ && emulatorRunning_()) {
            controls::dialogs().error(this, text(Extra::MapEmulatorRunning));
            return;
        }
        try {
            runBeside([&] { writeSettings(configPath_, changes); });
        } catch (const platform::IoError& error) {
            controls::dialogs().error(this, error.text());
            return;
        }
    }
    accept();
}

bool MappingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride && capturing_) {
        event->accept(); // every key goes to the capture, none to a shortcut
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat() && capturing_)
        return true;
    if (key->key() == Qt::Key_Escape && capturing_) {
        cancelCapture();
        return true;
    }
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
        clearButton();
        return true;
    }
    if (capturing_) {
        keyPressed(key->nativeScanCode());
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        startCapture();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool emulatorHoldsFolder(const QString& applicationFolder) {
    return platform::lockFileHeld(
        QDir(applicationFolder).filePath(QStringLiteral("Core/mednafen.lck")));
}

bool mapControls(QWidget* parent, const QString& applicationFolder, int port, const QString& device,
                 const QString& deviceLabel, std::function<bool()> emulatorRunning) {
    if (defaultButtons(device).empty()) {
        controls::dialogs().information(parent, text(Extra::MapNoButtons).arg(deviceLabel));
        return false;
    }
    const QDir core(QDir(applicationFolder).filePath(QStringLiteral("Core")));
    auto running = [emulatorRunning, applicationFolder] {
        return (emulatorRunning && emulatorRunning()) || emulatorHoldsFolder(applicationFolder);
    };
    if (running()) {
        controls::dialogs().error(parent, text(Extra::MapEmulatorRunning));
        return false;
    }
    const QString configPath = core.filePath(QStringLiteral("mednafen.cfg"));
    QHash<QString, QString> fileSettings;
    try {
        runBeside([&] {
            fileSettings = readSettings(platform::readFileBytes(configPath),
                                        MappingEditor::prefixes(port, device));
        });
    } catch (const platform::IoError& error) {
        controls::dialogs().error(parent, error.text());
        return false;
    }
    // The Windows build of the emulator keeps what it said at its last start in stdout.txt,
    // joysticks with their names among it.
    QHash<QString, QString> joysticks;
    const QString output = core.filePath(QStringLiteral("stdout.txt"));
    if (QFileInfo(output).isFile()) {
        try {
            // The emulator writes UTF-8 on every platform.
            joysticks = parseJoystickNames(QString::fromUtf8(platform::readFileBytes(output)));
        } catch (const platform::IoError&) {
            // Without names the joysticks show their IDs.
        }
    }
    MappingEditor editor(port, device, fileSettings);
    MappingWindow window(std::move(editor), deviceLabel, configPath, joysticks, running, parent);
    return window.exec() == QDialog::Accepted && !window.editor().changes().isEmpty();
}

} // namespace input
