// The seam's production side: each call goes to the window's ExifToolService
// while it lives.

#include "MetadataEngine.h"

#include "FileOperations.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QPointer>

namespace Metaloom {

namespace {

class ExifToolEngine : public MetadataEngine {
public:
    explicit ExifToolEngine(ExifToolService *service) : m_service(service) {}

    QCoro::Task<QList<MetadataEntry>> readMetadata(QUrl file) override
    {
        return service()->readMetadata(file);
    }

    void prepareForBackgroundWork() override
    {
        // One process for the background, one ready for the user.
        if (m_service)
            m_service->keepProcessesReady(2);
    }

    QCoro::Task<PrivacyFindings> checkPrivacy(QUrl file) override
    {
        return service()->checkPrivacy(file);
    }

    QCoro::Task<std::optional<EmbeddedPreview::Preview>> embeddedPreview(QUrl file) override
    {
        return EmbeddedPreview::extract(service()->bundle(), file);
    }

    QCoro::Task<ChangeReport> changeTags(QUrl file, QList<TagAssignment> assignments,
                                         ChangeOptions options) override
    {
        return service()->changeTags(file, assignments, options);
    }

    QCoro::Task<PrivacyStripReport> stripForSharing(QUrl file, StripProfile profile,
                                                    ChangeOptions options) override
    {
        return service()->stripForSharing(file, profile, options);
    }

    QCoro::Task<ChangeReport> copyTags(QUrl source, QUrl target, CopyFamily family,
                                       ChangeOptions options) override
    {
        return service()->copyTags(source, target, family, options);
    }

    QCoro::Task<QList<CopyPreview>> previewCopy(QUrl source, QList<QUrl> targets,
                                                CopyFamily family) override
    {
        return service()->previewCopy(source, targets, family);
    }

    QCoro::Task<QList<DateValues>> readDates(QList<QUrl> files, bool quickTimeUtc) override
    {
        return service()->readDates(files, quickTimeUtc);
    }

    QCoro::Task<ChangeReport> changeDates(QUrl file, DatePlan plan, ChangeOptions options) override
    {
        return service()->changeDates(file, plan, options);
    }

    QCoro::Task<bool> canWriteFormat(QUrl file) override { return service()->canWriteFormat(file); }

    std::optional<bool> canWriteFormatNow(const QUrl &file) const override
    {
        return m_service ? m_service->canWriteFormatNow(file) : std::nullopt;
    }

    QCoro::Task<std::optional<TagDefinition>> tagDefinition(QString key) override
    {
        return service()->tagDefinition(key);
    }

    QCoro::Task<QStringList> allTagKeys() override { return service()->allTagKeys(); }

    std::optional<TagTable> tagListingNow() override
    {
        if (!m_service)
            return std::nullopt;
        m_service->prepareTagDefinitions();
        return m_service->tagDefinitionsNow();
    }

    bool isLoadingTagListing() const override
    {
        return m_service && m_service->isLoadingTagDefinitions();
    }

    std::optional<QString> keyRefusalReason(const QString &key) const override
    {
        return ExifToolService::keyRefusalReason(key);
    }

    std::optional<QString> valueRefusalReason(const QString &key,
                                              const QString &value) const override
    {
        return ExifToolService::valueRefusalReason(key, value);
    }

    bool isKeptByTheFileSystem(const QString &key) const override
    {
        return ExifToolService::isKeptByTheFileSystem(key);
    }

    QString readOnlyFormatMessage(const QUrl &file) const override
    {
        return ExifToolService::readOnlyFormatMessage(file);
    }

private:
    // The service, or a PlatformError when it is gone (its window is closing).
    ExifToolService *service() const
    {
        if (!m_service)
            throw PlatformError(FileOperations::engineStoppedMessage());
        return m_service;
    }

    QPointer<ExifToolService> m_service;
};

} // namespace

std::shared_ptr<MetadataEngine> MetadataEngine::over(ExifToolService *service)
{
    Q_ASSERT(service);
    return std::make_shared<ExifToolEngine>(service);
}

} // namespace Metaloom
