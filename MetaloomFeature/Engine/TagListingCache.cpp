#include "TagListingCache.h"

#include "MetaloomFeature/Engine/Dialect/TagDefinitionsParser.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QCoroFuture>
#include <QPromise>
#include <QtConcurrent>

#include <memory>

namespace Metaloom {

namespace {

// Runs ExifTool ("-f" adds the flags that mark list tags), parses its listing on a worker thread
// and settles the promise with the table or the error. Nothing awaits this coroutine, so it catches
// everything and hands it to the promise.
QCoro::Task<void> loadInto(ResourceBundle bundle, std::shared_ptr<QPromise<TagTable>> promise)
{
    try {
        const CommandOutput output = co_await ExifToolRunner::run(
            bundle, {QStringLiteral("-listx"), QStringLiteral("-f")}, std::nullopt);
        const QByteArray xml = output.standardOutput;
        QFuture<TagTable> parsed =
            QtConcurrent::run([xml] { return TagDefinitionsParser::parse(xml); });
        const TagTable table = co_await parsed;
        promise->addResult(table);
    } catch (const QException &error) {
        promise->setException(error);
    } catch (...) {
        promise->setException(std::current_exception());
    }
    promise->finish();
}

bool failed(const QFuture<TagTable> &load)
{
    return load.isFinished() && load.resultCount() == 0;
}

} // namespace

TagListingCache &TagListingCache::shared()
{
    static TagListingCache cache;
    return cache;
}

QFuture<TagTable> TagListingCache::load(const ResourceBundle &bundle)
{
    const auto known = m_loads.constFind(bundle.directory());
    if (known != m_loads.constEnd() && !failed(*known))
        return *known;
    auto promise = std::make_shared<QPromise<TagTable>>();
    promise->start();
    QFuture<TagTable> load = promise->future();
    m_loads.insert(bundle.directory(), load);
    loadInto(bundle, promise);
    return load;
}

} // namespace Metaloom
