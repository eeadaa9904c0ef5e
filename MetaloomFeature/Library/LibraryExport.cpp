// Saving the selected file's metadata as a JSON, YAML or TOML text file.

#include "LibraryViewModel.h"

#include "MetaloomFeature/Library/Selection/SelectionExport.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace Metaloom {

namespace {

// photo.jpeg becomes photo.json; a name without extension gets one.
QString suggestedName(const QString &fileName, const QString &extension)
{
    const QString suffix = QFileInfo(fileName).suffix();
    const QString base =
        suffix.isEmpty() ? fileName : fileName.left(fileName.size() - suffix.size() - 1);
    return base + QLatin1Char('.') + extension;
}

// Written to a temporary file beside the destination and renamed over it,
// so a failure leaves no half-written file and any old one intact. The
// failure names the file and its folder.
void writeAtomically(const QString &path, const QString &text)
{
    const QFileInfo target(path);
    const QString folder = QDir::toNativeSeparators(target.absolutePath());
    if (!target.absoluteDir().exists())
        throw PlatformError(
            QCoreApplication::translate("LibraryExport",
                                        "The folder “%1” does not exist, so %2 was not saved.")
                .arg(folder, target.fileName()));
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw PlatformError(QCoreApplication::translate(
                                "LibraryExport", "%1 could not be saved in the folder “%2”: %3")
                                .arg(target.fileName(), folder, file.errorString()));
}

} // namespace

void LibraryViewModel::setSavePanel(std::shared_ptr<SavePanel> panel)
{
    m_savePanel = std::move(panel);
}

void LibraryViewModel::exportSelectedMetadata(MetadataExportFormatter::Format format)
{
    if (isMultiSelection()) {
        exportSelection(format);
        return;
    }
    const std::optional<MediaItem> item = selectedItem();
    if (!item) {
        setStatus(tr("Select an item to export metadata."));
        return;
    }
    const QList<MetadataEntry> entries = m_fullEntryList;
    if (entries.isEmpty()) {
        setStatus(tr("Metadata is still loading. Try again in a moment."));
        return;
    }
    if (!m_savePanel) {
        qWarning("Export needs the window's save panel");
        return;
    }
    const QString extension = MetadataExportFormatter::fileExtension(format);
    const SavePanel::Options options{suggestedName(item->fileName, extension), extension,
                                     MetadataExportFormatter::displayName(format)};
    QPointer<LibraryViewModel> self(this);
    m_savePanel->show(options, [self, entries, format](std::optional<QUrl> chosen) {
        if (self && chosen && chosen->isLocalFile())
            self->writeExport(entries, format, *chosen);
    });
}

void LibraryViewModel::exportSelection(MetadataExportFormatter::Format format)
{
    QList<SelectionExport::FileEntries> files;
    for (const MediaItem &item : selectedItems()) {
        if (!m_reads.contains(item.id)) {
            setStatus(tr("Metadata is still loading. Try again in a moment."));
            return;
        }
        SharedTagList::FileTags tags =
            m_reads.fileTags(item, m_listTags, m_parkedEdits.value(item.id));
        files.append({item.url.isLocalFile() ? item.url.toLocalFile() : item.url.toString(),
                      std::move(tags.entries)});
    }
    if (!m_savePanel) {
        qWarning("Export needs the window's save panel");
        return;
    }
    const QString extension = MetadataExportFormatter::fileExtension(format);
    const SavePanel::Options options{tr("Metadata of %n files", nullptr, int(files.size())) +
                                         QLatin1Char('.') + extension,
                                     extension, MetadataExportFormatter::displayName(format)};
    QPointer<LibraryViewModel> self(this);
    m_savePanel->show(options, [self, files, format](std::optional<QUrl> chosen) {
        if (!self || !chosen || !chosen->isLocalFile())
            return;
        const BusyScope busy(self);
        try {
            writeAtomically(chosen->toLocalFile(), SelectionExport::string(files, format));
            self->setStatus(
                tr("Exported the metadata of %n files as %1.", nullptr, int(files.size()))
                    .arg(MetadataExportFormatter::displayName(format)));
        } catch (...) {
            self->showError(describeException(std::current_exception()),
                            tr("Metadata Not Exported"));
        }
    });
}

void LibraryViewModel::writeExport(const QList<MetadataEntry> &entries,
                                   MetadataExportFormatter::Format format, const QUrl &destination)
{
    const BusyScope busy(this);
    try {
        writeAtomically(destination.toLocalFile(),
                        MetadataExportFormatter::string(entries, format));
        setStatus(tr("Exported metadata as %1.").arg(MetadataExportFormatter::displayName(format)));
    } catch (...) {
        showError(describeException(std::current_exception()), tr("Metadata Not Exported"));
    }
}

} // namespace Metaloom
