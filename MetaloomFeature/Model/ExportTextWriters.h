#pragma once

#include <QList>
#include <QString>
#include <utility>

// The three text layouts of the metadata export, given (key, value) pairs.
namespace Metaloom::ExportTextWriters {

using Pairs = QList<std::pair<QString, QString>>;

// False when the text holds an unpaired surrogate, which UTF-8 cannot carry.
bool isEncodable(const QString &text);

// Sorts the keys itself (code point order); the others keep the given order.
QString json(Pairs pairs);
QString yaml(const Pairs &pairs);
QString toml(const Pairs &pairs);
// A TOML basic string: the text escaped as the values are, in quotes.
QString tomlQuoted(const QString &text);

} // namespace Metaloom::ExportTextWriters
