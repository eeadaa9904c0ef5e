#include "WritableFormats.h"

#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QCoroTask>
#include <QException>
#include <QPromise>

#include <memory>

namespace Metaloom {

namespace {

// Settles the promise with the lists or the error. Nothing awaits this
// coroutine, so it catches everything and hands it to the promise.
QCoro::Task<void> loadInto(ResourceBundle bundle, std::shared_ptr<QPromise<FormatLists>> promise)
{
    try {
        const CommandOutput output = co_await ExifToolRunner::run(
            bundle,
            {QStringLiteral("-listwf"), QStringLiteral("-execute"), QStringLiteral("-listf")},
            std::nullopt);
        promise->addResult(FormatLists::parse(output.standardOutput));
    } catch (const QException &error) {
        promise->setException(error);
    } catch (...) {
        promise->setException(std::current_exception());
    }
    promise->finish();
}

bool failed(const QFuture<FormatLists> &load)
{
    return load.isFinished() && load.resultCount() == 0;
}

} // namespace

WritableFormats &WritableFormats::shared()
{
    static WritableFormats formats;
    return formats;
}

QFuture<FormatLists> WritableFormats::load(const ResourceBundle &bundle)
{
    const auto known = m_loads.constFind(bundle.directory());
    if (known != m_loads.constEnd() && !failed(*known))
        return *known;
    auto promise = std::make_shared<QPromise<FormatLists>>();
    promise->start();
    QFuture<FormatLists> load = promise->future();
    m_loads.insert(bundle.directory(), load);
    loadInto(bundle, promise);
    return load;
}

std::optional<FormatLists> WritableFormats::loaded(const ResourceBundle &bundle) const
{
    const auto known = m_loads.constFind(bundle.directory());
    if (known == m_loads.constEnd() || !known->isFinished() || known->resultCount() == 0)
        return std::nullopt;
    return known->result();
}

} // namespace Metaloom
