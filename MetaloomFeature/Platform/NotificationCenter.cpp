#include "NotificationCenter.h"

#include <QCoreApplication>
#include <QThread>

namespace Metaloom {

NotificationCenter *NotificationCenter::defaultCenter()
{
    // Lives until the process ends; observers go away with their contexts.
    static auto *center = new NotificationCenter;
    return center;
}

NotificationCenter::NotificationCenter(QObject *parent) : QObject(parent) {}

QMetaObject::Connection NotificationCenter::addObserver(const QString &name, QObject *context,
                                                        std::function<void()> handler)
{
    return connect(this, &NotificationCenter::posted, context,
                   [name, handler = std::move(handler)](const QString &postedName) {
                       if (postedName == name)
                           handler();
                   });
}

void NotificationCenter::post(const QString &name)
{
    Q_ASSERT(!QCoreApplication::instance() ||
             QThread::currentThread() == QCoreApplication::instance()->thread());
    Q_EMIT posted(name);
}

} // namespace Metaloom
