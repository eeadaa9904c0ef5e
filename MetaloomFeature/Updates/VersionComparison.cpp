#include "VersionComparison.h"

#include <QList>

namespace Metaloom {

namespace {

// One run of digits or of letters; separators only split runs.
struct Part {
    bool isNumber = false;
    QString text;
};

QList<Part> partsOf(QString version)
{
    version = version.trimmed();
    if (version.size() > 1 && (version.front() == u'v' || version.front() == u'V') &&
        version.at(1).isDigit())
        version.remove(0, 1);
    QList<Part> parts;
    bool separated = true;
    for (const QChar c : version) {
        const bool digit = c.isDigit();
        if (!digit && !c.isLetter()) {
            separated = true;
            continue;
        }
        if (separated || parts.back().isNumber != digit)
            parts.append(Part{digit, QString()});
        parts.back().text.append(c);
        separated = false;
    }
    return parts;
}

int compareNumbers(QString a, QString b)
{
    // Compared as text of equal length, so no number is too big to read.
    while (a.size() > 1 && a.front() == u'0')
        a.remove(0, 1);
    while (b.size() > 1 && b.front() == u'0')
        b.remove(0, 1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int compareParts(const Part &a, const Part &b)
{
    if (a.isNumber && b.isNumber)
        return compareNumbers(a.text, b.text);
    // A number is a release, letters a pre-release: 1.0.1 is newer than 1.0b.
    if (a.isNumber != b.isNumber)
        return a.isNumber ? 1 : -1;
    return a.text.compare(b.text, Qt::CaseInsensitive);
}

bool isZero(const Part &part)
{
    return part.isNumber && compareNumbers(part.text, QStringLiteral("0")) == 0;
}

// How the longer version's remaining parts compare with nothing: zeros add
// nothing, a further number makes it newer, letters make it a pre-release.
int compareRemainder(const QList<Part> &parts, qsizetype from)
{
    for (qsizetype i = from; i < parts.size(); ++i) {
        if (isZero(parts.at(i)))
            continue;
        return parts.at(i).isNumber ? 1 : -1;
    }
    return 0;
}

} // namespace

int compareVersions(const QString &a, const QString &b)
{
    const QList<Part> left = partsOf(a);
    const QList<Part> right = partsOf(b);
    const qsizetype common = std::min(left.size(), right.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (const int order = compareParts(left.at(i), right.at(i)); order != 0)
            return order < 0 ? -1 : 1;
    }
    if (left.size() > common)
        return compareRemainder(left, common);
    if (right.size() > common)
        return -compareRemainder(right, common);
    return 0;
}

} // namespace Metaloom
