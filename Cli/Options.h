#pragma once

#include "ArgumentParser.h"

#include <QList>
#include <QString>

// Every option the program knows, with the line the help shows for it.
// Commands name the ones they take (Command::options()).
namespace Metaloom::Cli::Options {

struct Option {
    ArgumentParser::KnownOption declared;
    // The help's words, translated when shown.
    const char *description;
};

const QList<Option> &all();
QList<ArgumentParser::KnownOption> knownOptions();
// The option's help line: "  -r, --recursive      go into subfolders".
QString helpLine(const QString &longName);

} // namespace Metaloom::Cli::Options
