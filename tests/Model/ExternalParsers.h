#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

namespace Metaloom::Testing {

// One text to read back, and what a parser must read from it.
struct ParserCase {
    QString name;
    QString text;
    QJsonObject expected;
};

// Reads every case's text with real parsers of `format` ("json": Python's
// json; "yaml": PyYAML's pure and libyaml safe loaders; "toml": tomllib), all
// in one run of python3, and compares what they read with the case's
// `expected`. Answers an empty string when every parser read exactly what was
// expected, otherwise the first case that went wrong and how. Files go to
// `workFolder`.
QString parserMismatch(const QString &format, const QList<ParserCase> &cases,
                       const QString &workFolder);

} // namespace Metaloom::Testing
