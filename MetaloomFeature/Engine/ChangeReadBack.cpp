#include "ChangeReadBack.h"

#include "ExifToolRunner.h"
#include "ServiceError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Metaloom::ChangeReadBack {

QStringList arguments(const QStringList &keys, const QString &filePath)
{
    QStringList arguments;
    for (const QString &key : keys) {
        if (!arguments.isEmpty())
            arguments << QStringLiteral("-execute");
        arguments << QLatin1Char('-') + key;
    }
    arguments << QStringLiteral("-common_args") << QStringLiteral("-json") << QStringLiteral("-G:1")
              << filePath;
    return arguments;
}

namespace {

// The JSON texts ExifTool printed one after the other, one per command.
QList<QByteArray> topLevelValues(const QByteArray &bytes)
{
    QList<QByteArray> values;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (depth++ == 0)
                start = i;
        } else if ((c == ']' || c == '}') && depth > 0 && --depth == 0) {
            values.append(bytes.mid(start, i - start + 1));
        }
    }
    return values;
}

// Whether one command's answer names a tag: anything beyond the file's name
// and ExifTool's own messages.
bool holdsTag(const QByteArray &answer)
{
    const QJsonDocument document = QJsonDocument::fromJson(answer);
    const QJsonObject object = document.array().at(0).toObject();
    if (!document.isArray() || object.isEmpty())
        throw ServiceError::invalidResponse();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key() != QLatin1String("SourceFile") &&
            !it.key().startsWith(QLatin1String("ExifTool:")))
            return true;
    }
    return false;
}

} // namespace

QSet<QString> keysFound(const QStringList &keys, const QByteArray &standardOutput)
{
    const QList<QByteArray> answers = topLevelValues(standardOutput);
    if (answers.size() != keys.size())
        throw ServiceError::invalidResponse();
    QSet<QString> found;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (holdsTag(answers.at(i)))
            found.insert(keys.at(i));
    }
    return found;
}

QCoro::Task<QSet<QString>> keysPresent(ResourceBundle bundle, QStringList keys, QString filePath)
{
    keys.removeDuplicates();
    const CommandOutput output =
        co_await ExifToolRunner::run(bundle, arguments(keys, filePath), std::nullopt);
    co_return keysFound(keys, output.standardOutput);
}

ChangeReport reportFor(const QList<TagChange> &changes, const QSet<QString> &present)
{
    ChangeReport report;
    for (const TagChange &change : changes) {
        if (change.deletes && present.contains(change.key))
            report.tagsNotRemoved << change.key;
        else if (!change.deletes && !present.contains(change.key))
            report.tagsNotWritten << change.key;
    }
    return report;
}

} // namespace Metaloom::ChangeReadBack
