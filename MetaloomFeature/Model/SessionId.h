#pragma once

#include <QUuid>

namespace Metaloom {

// A fresh identifier for a record that lives only while the program runs
// (a listed file, a tag row): random like QUuid::createUuid(), from the
// program's seeded generator instead of the system's, which costs a call
// into the kernel each time; a drop of 10,000 files makes as many at once.
// Never for what is stored or shared with other programs.
QUuid freshSessionId();

} // namespace Metaloom
