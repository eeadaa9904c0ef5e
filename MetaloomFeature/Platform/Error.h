#pragma once

#include <QByteArray>
#include <QException>
#include <QString>

namespace Metaloom {

// Base of every error the program raises. Derives from QException so that
// errors thrown in a QtConcurrent task survive the trip through a QFuture.
class Error : public QException {
public:
    // The sentence shown to the user in the status line or the error alert.
    virtual QString localizedDescription() const = 0;

    const char *what() const noexcept override;

private:
    mutable QByteArray m_whatCache;
};

// A failure reported by the operating system or a Qt facility (launching a
// process, file operations, JSON or XML reading). It carries Qt's own text.
class PlatformError : public Error {
public:
    explicit PlatformError(QString message) : m_message(std::move(message)) {}

    QString localizedDescription() const override { return m_message; }

    void raise() const override { throw *this; }
    PlatformError *clone() const override { return new PlatformError(*this); }

private:
    QString m_message;
};

// Text for any exception caught at a boundary that must not let it escape.
QString describeException(std::exception_ptr error);

} // namespace Metaloom
