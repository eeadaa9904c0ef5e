#pragma once

#include "MetaloomFeature/Platform/Error.h"

#include <QStringList>

namespace Metaloom {

// The engine's own failures, each with the sentence shown to the user.
class ServiceError : public Error {
public:
    enum class Kind {
        executionFailed,
        nothingWritten,
        binaryMissing,
        libraryMissing,
        invalidResponse,
        invalidInput,
        minorError
    };

    static ServiceError executionFailed(QString message);
    static ServiceError nothingWritten(QString fileName, QStringList tags, QStringList warning);
    static ServiceError binaryMissing() { return ServiceError(Kind::binaryMissing); }
    static ServiceError libraryMissing() { return ServiceError(Kind::libraryMissing); }
    static ServiceError invalidResponse() { return ServiceError(Kind::invalidResponse); }
    // A request refused before ExifTool runs (a tag key ExifTool would read as
    // something other than a tag, a value it cannot be given); the message
    // says why.
    static ServiceError invalidInput(QString message);
    // ExifTool stopped at a minor error ("Error: [minor] ..."): something it
    // would rather not do to this file, which it does when told to ignore
    // minor errors (ChangeOptions::ignoreMinorErrors). `exifToolText` is
    // ExifTool's own text of the error(s), without "Error: [minor]";
    // `plainWords` says what ExifTool objects to for someone who does not
    // know the file's structure, completing "ExifTool did not change the
    // file because ...".
    static ServiceError minorError(QString fileName, QString exifToolText, QString plainWords);

    Kind kind() const { return m_kind; }
    // executionFailed: ExifTool's trimmed standard error (or "Unknown error");
    // invalidInput: the reason shown to the user; minorError: ExifTool's text.
    QString message() const { return m_message; }
    // nothingWritten, minorError: the target's file name; nothingWritten:
    // the keys tried and the warnings.
    QString fileName() const { return m_fileName; }
    QStringList tags() const { return m_tags; }
    QStringList warning() const { return m_warning; }

    QString localizedDescription() const override;
    QString errorDescription() const { return localizedDescription(); }

    void raise() const override { throw *this; }
    ServiceError *clone() const override { return new ServiceError(*this); }

    bool operator==(const ServiceError &other) const;

private:
    explicit ServiceError(Kind kind) : m_kind(kind) {}

    Kind m_kind;
    QString m_message;
    QString m_fileName;
    QStringList m_tags;
    QStringList m_warning;
    QString m_plainWords;
};

} // namespace Metaloom
