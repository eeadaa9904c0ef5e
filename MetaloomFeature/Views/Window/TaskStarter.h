#pragma once

#include <QCoroTask>

namespace Metaloom {

// Starts an operation of the library that the caller does not wait for (a
// button, a menu command). The library never throws to its callers and
// guards itself against being destroyed meanwhile, so nothing is left to do
// when it ends; the task runs on after this returns.
template <typename T> void startTask(QCoro::Task<T> task)
{
    Q_UNUSED(task);
}

} // namespace Metaloom
