#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// A file-access failure that nothing tested for beforehand: it stops the operation in progress
// and is shown to the user with the system's error text.
class IoError : public std::runtime_error {
public:
    explicit IoError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

} // namespace platform
