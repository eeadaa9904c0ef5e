#pragma once

#include <QJsonObject>
#include <QString>

namespace Metaloom::Testing {

// Reads `text` with real parsers of `format` ("json": Python's json; "yaml":
// PyYAML's pure and libyaml safe loaders; "toml": tomllib) and compares what
// they read with `expected`. Answers an empty string when every parser read
// exactly `expected`, otherwise what went wrong. Files go to `workFolder`.
QString parserMismatch(const QString &format, const QString &text, const QJsonObject &expected,
                       const QString &workFolder);

} // namespace Metaloom::Testing
