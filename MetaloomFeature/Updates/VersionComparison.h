#pragma once

#include <QString>

namespace Metaloom {

// Orders version strings the way people read them: numbers compare as
// numbers (1.10 is newer than 1.9), trailing zeros do not count (1.0 equals
// 1.0.0), and letters after a number mark a pre-release of it (1.2b1 is older
// than 1.2, 1.2b2 newer than 1.2b1, 1.2rc1 newer than 1.2beta3). A leading
// "v" is ignored. Answers a negative number, zero or a positive number as
// `a` is older than, as new as, or newer than `b`.
int compareVersions(const QString &a, const QString &b);

} // namespace Metaloom
