#include "ServiceError.h"

#include <QCoreApplication>

#include <algorithm>

namespace Metaloom {

ServiceError ServiceError::executionFailed(QString message)
{
    ServiceError error(Kind::executionFailed);
    error.m_message = std::move(message);
    return error;
}

ServiceError ServiceError::invalidInput(QString message)
{
    ServiceError error(Kind::invalidInput);
    error.m_message = std::move(message);
    return error;
}

ServiceError ServiceError::minorError(QString fileName, QString exifToolText, QString plainWords)
{
    ServiceError error(Kind::minorError);
    error.m_fileName = std::move(fileName);
    error.m_message = std::move(exifToolText);
    error.m_plainWords = std::move(plainWords);
    return error;
}

ServiceError ServiceError::nothingWritten(QString fileName, QStringList tags, QStringList warning)
{
    ServiceError error(Kind::nothingWritten);
    error.m_fileName = std::move(fileName);
    error.m_tags = std::move(tags);
    error.m_warning = std::move(warning);
    return error;
}

QString ServiceError::localizedDescription() const
{
    switch (m_kind) {
    case Kind::executionFailed:
        return QCoreApplication::translate("ServiceError", "ExifTool reported an error: %1")
            .arg(m_message);
    case Kind::nothingWritten: {
        QString tail;
        if (!m_warning.isEmpty()) {
            tail = m_warning.join(QLatin1Char('\n'));
        } else if (!m_tags.isEmpty()) {
            QStringList sorted = m_tags;
            std::sort(sorted.begin(), sorted.end()); // plain code-unit order
            tail = QCoreApplication::translate(
                       "ServiceError",
                       "ExifTool does not recognise %1 for this kind of file, so the file was left "
                       "unchanged.")
                       .arg(sorted.join(QStringLiteral(", ")));
        } else {
            tail = QCoreApplication::translate(
                "ServiceError", "ExifTool did not recognise any of the fields to write.");
        }
        return QCoreApplication::translate("ServiceError", "Nothing was written to %1. %2")
            .arg(m_fileName, tail);
    }
    case Kind::binaryMissing:
        return QCoreApplication::translate("ServiceError",
                                           "The bundled exiftool binary could not be found.");
    case Kind::libraryMissing:
        return QCoreApplication::translate("ServiceError",
                                           "The bundled ExifTool libraries are missing.");
    case Kind::invalidResponse:
        return QCoreApplication::translate("ServiceError",
                                           "Failed to parse metadata returned by ExifTool.");
    case Kind::invalidInput:
        return m_message;
    case Kind::minorError:
        return QCoreApplication::translate(
                   "ServiceError",
                   "ExifTool did not change “%1” because %2. It can make the change anyway, "
                   "ignoring this minor problem. (ExifTool: “%3”)")
            .arg(m_fileName, m_plainWords, m_message);
    }
    return QString();
}

bool ServiceError::operator==(const ServiceError &other) const
{
    return m_kind == other.m_kind && m_message == other.m_message &&
           m_fileName == other.m_fileName && m_tags == other.m_tags &&
           m_warning == other.m_warning && m_plainWords == other.m_plainWords;
}

} // namespace Metaloom
