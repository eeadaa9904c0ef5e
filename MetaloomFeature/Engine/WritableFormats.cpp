#include "WritableFormats.h"

#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QCoroTask>
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

std::optional<bool> FormatLists::canWriteByName(const QString &extension) const
{
    const QString upper = extension.toUpper();
    if (writable.contains(upper))
        return true;
    if (known.contains(upper))
        return false;
    return std::nullopt;
}

FormatLists FormatLists::parse(const QByteArray &output)
{
    // "Writable file extensions:" and "Supported file extensions:", each
    // followed by indented lines of extensions.
    FormatLists lists;
    QSet<QString> *current = nullptr;
    bool sawWritable = false;
    bool sawKnown = false;
    for (const QByteArray &line : output.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (!line.startsWith(' ') && trimmed.endsWith(':')) {
            const bool writableList = trimmed.startsWith("Writable");
            current = writableList ? &lists.writable : &lists.known;
            (writableList ? sawWritable : sawKnown) = true;
            continue;
        }
        if (!current)
            continue;
        for (const QByteArray &extension : trimmed.simplified().split(' '))
            current->insert(QString::fromLatin1(extension).toUpper());
    }
    if (!sawWritable || !sawKnown || lists.writable.isEmpty())
        throw PlatformError(QStringLiteral("ExifTool's list of writable file types could not be "
                                           "read."));
    lists.known.unite(lists.writable);
    return lists;
}

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
