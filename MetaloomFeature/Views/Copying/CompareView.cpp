#include "MetaloomFeature/Views/Copying/CompareView.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Metaloom {

CompareView::CompareView(LibraryViewModel *viewModel, QWidget *parent)
    : QDialog(parent), m_viewModel(viewModel)
{
    setWindowTitle(tr("Compare"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    m_title = SheetStyle::label({}, SheetStyle::headline(font()), SheetStyle::Tone::Primary, this);
    top->addWidget(m_title, 1);
    m_onlyDifferences = new QCheckBox(tr("&Only differences"), this);
    top->addWidget(m_onlyDifferences);
    layout->addLayout(top);

    m_rows = new QTreeWidget(this);
    m_rows->setColumnCount(3);
    m_rows->setRootIsDecorated(false);
    m_rows->setUniformRowHeights(true);
    m_rows->setAlternatingRowColors(true);
    m_rows->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_rows->header()->setStretchLastSection(true);
    m_rows->setColumnWidth(0, 240);
    m_rows->setColumnWidth(1, 260);
    m_rows->setMinimumSize(760, 420);
    layout->addWidget(m_rows, 1);

    m_status =
        SheetStyle::label({}, SheetStyle::footnote(font()), SheetStyle::Tone::Secondary, this);
    layout->addWidget(m_status);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_onlyDifferences, &QCheckBox::toggled, this, &CompareView::showComparison);
    if (viewModel)
        connect(viewModel, &LibraryViewModel::comparisonChanged, this,
                &CompareView::showComparison);
    showComparison();
}

QString CompareView::statusText() const
{
    return m_status->text();
}

void CompareView::showComparison()
{
    m_rows->clear();
    if (!m_viewModel || !m_viewModel->comparison())
        return;
    const Comparison &comparison = *m_viewModel->comparison();
    m_title->setText(tr("%1 and %2").arg(comparison.leftName, comparison.rightName));
    m_rows->setHeaderLabels({tr("Tag"), comparison.leftName, comparison.rightName});
    if (comparison.isLoading) {
        m_status->setText(tr("Reading both files…"));
        return;
    }
    if (!comparison.failure.isEmpty()) {
        SheetStyle::setTextColor(m_status, SheetStyle::red(palette()));
        m_status->setText(comparison.failure);
        return;
    }
    SheetStyle::setTone(m_status, SheetStyle::Tone::Secondary);

    const QList<CompareAlignment::Row> rows =
        m_onlyDifferences->isChecked() ? CompareAlignment::differencesOnly(comparison.rows)
                                       : comparison.rows;
    const QString absent = tr("(not present)");
    QColor marked = SheetStyle::accent(palette());
    marked.setAlpha(SheetStyle::isDark(palette()) ? 70 : 40);
    const QColor faded = SheetStyle::textColor(palette(), SheetStyle::Tone::Tertiary);
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const CompareAlignment::Row &row : rows) {
        auto *item = new QTreeWidgetItem;
        item->setText(0, row.key);
        item->setText(1, row.left.value_or(absent));
        item->setText(2, row.right.value_or(absent));
        for (int column : {1, 2}) {
            item->setToolTip(column, item->text(column));
            if (!(column == 1 ? row.left : row.right))
                item->setForeground(column, faded);
        }
        if (row.differs()) {
            // Marked by more than colour: the key says so too.
            item->setText(0, QStringLiteral("≠ ") + row.key);
            for (int column = 0; column < 3; ++column)
                item->setBackground(column, marked);
        }
        items.append(item);
    }
    m_rows->addTopLevelItems(items);
    const int total = int(comparison.rows.size());
    const int differences = int(CompareAlignment::differencesOnly(comparison.rows).size());
    if (differences == 0)
        m_status->setText(total == 1 ? tr("The two files hold the same tag.")
                                     : tr("The two files hold the same %n tags.", nullptr, total));
    else if (differences == 1)
        m_status->setText(tr("1 of %1 tags differs.").arg(total));
    else
        m_status->setText(tr("%n of %1 tags differ.", nullptr, differences).arg(total));
}

} // namespace Metaloom
