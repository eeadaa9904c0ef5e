#include "TagListingCache.h"

#include "TagListingFile.h"

#include "MetaloomFeature/Engine/Dialect/TagDefinitionsParser.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QCoroFuture>
#include <QDir>
#include <QPromise>
#include <QtConcurrent>

#include <memory>

namespace Metaloom {

namespace {

struct Kept {
    std::optional<TagListingFile::Stamp> stamp;
    std::optional<TagTable> table;
};

// On a worker thread: the script's stamp and, when the file was written for
// it, the table from the file.
Kept readKept(QString scriptPath, QString filePath)
{
    Kept kept;
    kept.stamp = TagListingFile::stampOf(scriptPath);
    if (kept.stamp)
        kept.table = TagListingFile::read(filePath, *kept.stamp);
    return kept;
}

QString scriptOf(const ResourceBundle &bundle)
{
    const std::optional<QString> folder = bundle.pathForResource(QStringLiteral("ExifTool"));
    return folder ? QDir(*folder).filePath(QStringLiteral("exiftool")) : QString();
}

// Settles the promise with the table (from the file, else from ExifTool:
// "-f" adds the flags that mark list tags, parsed on a worker thread) or
// the error, then keeps a table that came from ExifTool in the file.
// Nothing awaits this coroutine, so it catches everything and hands it to
// the promise; a file that cannot be written only costs the next start
// its seconds.
QCoro::Task<void> loadInto(ResourceBundle bundle, QString filePath,
                           std::shared_ptr<QPromise<TagTable>> promise,
                           std::shared_ptr<QPromise<void>> written)
{
    written->start();
    std::optional<TagListingFile::Stamp> stamp;
    TagTable fresh;
    try {
        const QString script = scriptOf(bundle);
        QFuture<Kept> reading = QtConcurrent::run(readKept, script, filePath);
        Kept kept = co_await reading;
        if (kept.table) {
            promise->addResult(std::move(*kept.table));
            promise->finish();
            written->finish();
            co_return;
        }
        stamp = kept.stamp;
        const CommandOutput output = co_await ExifToolRunner::run(
            bundle, {QStringLiteral("-listx"), QStringLiteral("-f")}, std::nullopt);
        const QByteArray xml = output.standardOutput;
        QFuture<TagTable> parsed =
            QtConcurrent::run([xml] { return TagDefinitionsParser::parse(xml); });
        fresh = co_await parsed;
        promise->addResult(fresh);
    } catch (const QException &error) {
        promise->setException(error);
        stamp.reset();
    } catch (...) {
        promise->setException(std::current_exception());
        stamp.reset();
    }
    promise->finish();
    if (stamp && !filePath.isEmpty()) {
        QFuture<bool> writing = QtConcurrent::run([filePath, fresh, stamp = *stamp] {
            return TagListingFile::write(filePath, fresh, stamp);
        });
        co_await writing;
    }
    written->finish();
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

TagListingCache::TagListingCache(std::optional<QString> filePath)
    : m_usesUserCache(!filePath), m_filePath(filePath.value_or(QString()))
{}

QString TagListingCache::filePath() const
{
    // Looked up at each load: tests point XDG_CACHE_HOME elsewhere.
    return m_usesUserCache ? TagListingFile::location() : m_filePath;
}

QFuture<TagTable> TagListingCache::load(const ResourceBundle &bundle)
{
    const auto known = m_loads.constFind(bundle.directory());
    if (known != m_loads.constEnd() && !failed(*known))
        return *known;
    auto promise = std::make_shared<QPromise<TagTable>>();
    auto written = std::make_shared<QPromise<void>>();
    promise->start();
    QFuture<TagTable> load = promise->future();
    m_loads.insert(bundle.directory(), load);
    m_writes.insert(bundle.directory(), written->future());
    loadInto(bundle, filePath(), promise, written);
    return load;
}

bool TagListingCache::hasArrived(const ResourceBundle &bundle) const
{
    const auto known = m_loads.constFind(bundle.directory());
    return known != m_loads.constEnd() && known->isFinished() && known->resultCount() > 0;
}

QFuture<void> TagListingCache::fileWritten(const ResourceBundle &bundle) const
{
    return m_writes.value(bundle.directory());
}

} // namespace Metaloom
