#pragma once

#include <QCoroTask>

namespace Metaloom {

// Lets an operation of the library run on without waiting for it (a
// button, a menu command). A task starts when it is made, the library never
// throws to its callers and guards itself against being destroyed
// meanwhile, so nothing is left to do when it ends: the task is let go.
template <typename T> void detach(QCoro::Task<T> task)
{
    Q_UNUSED(task);
}

} // namespace Metaloom
