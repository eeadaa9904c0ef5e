#include "MetaloomFeature/Views/Window/BatchProgressView.h"

#include "MetaloomFeature/Library/BatchReportTexts.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace Metaloom {

BatchProgressView::BatchProgressView(LibraryViewModel *viewModel, QWidget *parent)
    : QWidget(parent), m_viewModel(viewModel)
{
    m_text =
        SheetStyle::label(QString(), SheetStyle::callout(font()), SheetStyle::Tone::Primary, this);
    m_text->setWordWrap(false);
    // A long file name must not widen the window.
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    m_bar->setMaximumHeight(8);
    m_cancel = new QPushButton(tr("&Cancel"), this);
    m_cancel->setToolTip(tr("Stop after the file being changed; files done stay done"));
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_viewModel)
            m_viewModel->cancelBatch();
    });

    auto *column = new QVBoxLayout;
    column->setSpacing(4);
    column->addWidget(m_text);
    column->addWidget(m_bar);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(16, 8, 16, 8);
    row->setSpacing(12);
    row->addLayout(column, 1);
    row->addWidget(m_cancel, 0, Qt::AlignVCenter);

    connect(viewModel, &LibraryViewModel::batchProgressChanged, this,
            &BatchProgressView::showProgress);
    showProgress();
}

void BatchProgressView::showProgress()
{
    const std::optional<BatchProgress> progress =
        m_viewModel ? m_viewModel->batchProgress() : std::nullopt;
    setVisible(progress.has_value());
    if (!progress)
        return;
    const QString text = BatchReportTexts::progressText(*progress);
    m_text->setText(text);
    m_text->setToolTip(text);
    m_bar->setRange(0, int(progress->total));
    m_bar->setValue(int(progress->finished));
    m_bar->setAccessibleName(text);
    m_cancel->setEnabled(!progress->isCancelling);
}

} // namespace Metaloom
