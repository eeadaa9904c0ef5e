#include "MetaloomFeature/Views/Copying/CopyMetadataDialog.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Metaloom {

namespace {

// A source kept in a combo box item: the file, or nothing for the partner.
constexpr int partnerRole = Qt::UserRole + 1;

QString listText(const QStringList &values)
{
    return values.isEmpty() ? CopyMetadataDialog::tr("(none)") : values.join(QStringLiteral("; "));
}

// The singular is a text of its own, so the English texts need no
// translation loaded; the plural has numerus forms for other languages.
QString changeCount(int count)
{
    return count == 1 ? CopyMetadataDialog::tr("1 change")
                      : CopyMetadataDialog::tr("%n changes", nullptr, count);
}

QString fileCount(int count)
{
    return count == 1 ? CopyMetadataDialog::tr("1 file")
                      : CopyMetadataDialog::tr("%n files", nullptr, count);
}

QString fileNameOf(const QUrl &url)
{
    return QFileInfo(url.toLocalFile()).fileName();
}

} // namespace

CopyMetadataDialog::CopyMetadataDialog(LibraryViewModel *viewModel,
                                       const CopyMetadataRequest &request, QWidget *parent)
    : QDialog(parent), m_viewModel(viewModel), m_request(request)
{
    setWindowTitle(tr("Copy Metadata From…"));
    auto *layout = new QVBoxLayout(this);
    m_title =
        SheetStyle::label(tr("Copy metadata into %1").arg(fileCount(int(request.targets.size()))),
                          SheetStyle::headline(font()), SheetStyle::Tone::Primary, this);
    layout->addWidget(m_title);

    auto *form = new QFormLayout;
    m_sources = new QComboBox(this);
    if (request.offersPartner)
        addSource(tr("Each file's RAW+JPEG partner"), std::nullopt);
    // The targets first: copying from one selected file to the others is
    // the usual case.
    QList<MediaItem> sources = request.targets;
    for (const MediaItem &item : request.sources) {
        if (!sources.contains(item))
            sources.append(item);
    }
    for (const MediaItem &item : std::as_const(sources))
        addSource(item.fileName, item.url);
    m_otherFileIndex = m_sources->count();
    m_sources->addItem(tr("Other File…"));
    form->addRow(tr("&From:"), m_sources);

    m_families = new QComboBox(this);
    for (const CopyFamily family : allCopyFamilies())
        m_families->addItem(copyFamilyName(family), int(family));
    m_families->setCurrentIndex(m_families->findData(int(CopyFamily::descriptionAndKeywords)));
    form->addRow(tr("&Copy:"), m_families);
    layout->addLayout(form);

    m_preview = new QTreeWidget(this);
    m_preview->setColumnCount(3);
    m_preview->setHeaderLabels({tr("Tag"), tr("Now"), tr("After")});
    m_preview->setRootIsDecorated(true);
    m_preview->setUniformRowHeights(true);
    m_preview->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_preview->setColumnWidth(0, 220);
    m_preview->setColumnWidth(1, 200);
    m_preview->setMinimumSize(620, 260);
    layout->addWidget(m_preview, 1);

    m_status =
        SheetStyle::label({}, SheetStyle::footnote(font()), SheetStyle::Tone::Secondary, this);
    layout->addWidget(m_status);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_copy = buttons->addButton(tr("Co&py"), QDialogButtonBox::AcceptRole);
    m_copy->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        // The library closes the dialog when it takes the answer.
        if (m_viewModel)
            m_viewModel->confirmCopyMetadata(source(), family());
    });

    connect(m_sources, &QComboBox::activated, this, &CopyMetadataDialog::sourceChosen);
    connect(m_families, &QComboBox::currentIndexChanged, this, &CopyMetadataDialog::askForPreview);
    if (viewModel)
        connect(viewModel, &LibraryViewModel::copyPreviewChanged, this,
                &CopyMetadataDialog::showPreview);
    askForPreview();
}

void CopyMetadataDialog::addSource(const QString &title, const CopySource &source)
{
    m_sources->addItem(title);
    const int index = m_sources->count() - 1;
    m_sources->setItemData(index, source ? QVariant(*source) : QVariant());
    m_sources->setItemData(index, !source, partnerRole);
}

CopySource CopyMetadataDialog::source() const
{
    const int index = m_sources->currentIndex();
    if (m_sources->itemData(index, partnerRole).toBool())
        return std::nullopt;
    return m_sources->itemData(index).toUrl();
}

CopyFamily CopyMetadataDialog::family() const
{
    return CopyFamily(m_families->currentData().toInt());
}

void CopyMetadataDialog::setSourceFile(const QUrl &file)
{
    int index = m_sources->findData(file);
    if (index < 0) {
        m_sources->insertItem(m_otherFileIndex, fileNameOf(file));
        index = m_otherFileIndex++;
        m_sources->setItemData(index, file);
        m_sources->setItemData(index, false, partnerRole);
    }
    m_sources->setCurrentIndex(index);
    m_lastSourceIndex = index;
    askForPreview();
}

void CopyMetadataDialog::setFamily(CopyFamily family)
{
    m_families->setCurrentIndex(m_families->findData(int(family)));
}

QString CopyMetadataDialog::statusText() const
{
    return m_status->text();
}

void CopyMetadataDialog::sourceChosen(int index)
{
    if (index == m_otherFileIndex) {
        // Back to the last source until a file is chosen: "Other File…" is
        // a command, never a source.
        m_sources->setCurrentIndex(m_lastSourceIndex);
        chooseOtherFile();
        return;
    }
    m_lastSourceIndex = index;
    askForPreview();
}

void CopyMetadataDialog::chooseOtherFile()
{
    auto *panel = new QFileDialog(this, tr("Copy Metadata From"));
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::fileSelected, this,
            [this](const QString &path) { setSourceFile(QUrl::fromLocalFile(path)); });
    panel->open();
}

void CopyMetadataDialog::askForPreview()
{
    if (m_viewModel)
        m_viewModel->previewCopyMetadata(source(), family());
}

void CopyMetadataDialog::showPreview()
{
    if (!m_viewModel)
        return;
    const CopyPreviewState &state = m_viewModel->copyPreview();
    m_preview->clear();
    if (state.isLoading) {
        m_status->setText(tr("Reading the files…"));
        m_copy->setEnabled(false);
        return;
    }
    if (!state.failure.isEmpty()) {
        SheetStyle::setTextColor(m_status, SheetStyle::red(palette()));
        m_status->setText(state.failure);
        m_copy->setEnabled(false);
        return;
    }
    SheetStyle::setTone(m_status, SheetStyle::Tone::Secondary);

    int changing = 0;
    int changes = 0;
    int targets = 0;
    for (const MediaItem &target : std::as_const(m_request.targets)) {
        if (state.source && target.url == *state.source)
            continue; // the source is never its own target
        ++targets;
        const auto preview = std::find_if(
            state.previews.cbegin(), state.previews.cend(), [&target](const CopyPreview &found) {
                return QFileInfo(found.target.toLocalFile()) == QFileInfo(target.url.toLocalFile());
            });
        auto *file = new QTreeWidgetItem(m_preview);
        QFont bold = file->font(0);
        bold.setBold(true);
        file->setFont(0, bold);
        if (preview == state.previews.cend()) {
            file->setText(0, target.fileName);
            file->setText(1, state.source ? tr("Nothing to read") : tr("No partner file"));
            file->setDisabled(true);
            continue;
        }
        const int count = int(preview->differences.size());
        file->setText(0, target.fileName);
        file->setText(1, count == 0 ? tr("Already the same") : changeCount(count));
        for (const CopyDifference &difference : preview->differences) {
            auto *row = new QTreeWidgetItem(file);
            row->setText(0, difference.key);
            row->setText(1, listText(difference.before));
            row->setText(2, listText(difference.after));
            row->setToolTip(1, row->text(1));
            row->setToolTip(2, row->text(2));
        }
        if (count > 0) {
            ++changing;
            changes += count;
            file->setExpanded(true);
        }
    }
    m_title->setText(tr("Copy metadata into %1").arg(fileCount(targets)));
    if (changing == 0)
        m_status->setText(tr("Nothing to copy: the files already hold these tags."));
    else
        m_status->setText(tr("%1 in %2.").arg(changeCount(changes), fileCount(changing)));
    m_copy->setEnabled(changing > 0);
}

} // namespace Metaloom
