#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <variant>

// Splits a command line into the command, its options and its operands.
// Options may stand anywhere among the operands ("set a.jpg --tag X=1
// b.jpg"); "--" ends the options, so a file whose name starts with a dash
// is given after it. A value-taking option reads "--tag KEY=VALUE" or
// "--tag=KEY=VALUE". Single letters are not bundled: "-rx" is one unknown
// option, never -r and -x.
namespace Metaloom::Cli::ArgumentParser {

struct KnownOption {
    QString longName;  // "tag", written --tag
    QChar shortName;   // 'r', written -r; null when there is none
    QString valueName; // "KEY=VALUE"; empty for an option that takes no value
    bool takesValue() const { return !valueName.isEmpty(); }
};

// One option as given, under its long name.
struct GivenOption {
    QString name;
    QString value;
    bool operator==(const GivenOption &) const = default;
};

struct Arguments {
    // The first operand; empty when only options were given.
    QString command;
    // In the order given.
    QList<GivenOption> options;
    // The operands after the command, in the order given.
    QStringList operands;

    bool has(const QString &name) const;
    // Every value given for the option, in order.
    QStringList values(const QString &name) const;
    // The names of the options given, each once, in the order first given.
    QStringList names() const;
    bool operator==(const Arguments &) const = default;
};

// A mistake in the command line, with the sentence that says what it is.
struct Mistake {
    QString message;
    bool operator==(const Mistake &) const = default;
};

using Result = std::variant<Arguments, Mistake>;

// `arguments` without the program's name.
Result parse(const QStringList &arguments, const QList<KnownOption> &known);

} // namespace Metaloom::Cli::ArgumentParser
