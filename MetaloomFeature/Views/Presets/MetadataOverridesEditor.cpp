#include "MetaloomFeature/Views/Presets/MetadataOverridesEditor.h"

#include "MetaloomFeature/Views/Kit/FittingScrollArea.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Presets/KeyField.h"
#include "MetaloomFeature/Views/Presets/OverrideLineEditor.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace Metaloom {

namespace {

constexpr int tabHeight = 220;
constexpr int listMaximumHeight = 160;

QWidget *listContent(QVBoxLayout **layout, QWidget *parent)
{
    auto *content = new QWidget(parent);
    *layout = new QVBoxLayout(content);
    (*layout)->setContentsMargins(0, 0, 0, 0);
    (*layout)->setSpacing(6);
    (*layout)->setSizeConstraint(QLayout::SetMinAndMaxSize);
    return content;
}

} // namespace

MetadataOverridesEditor::MetadataOverridesEditor(const QMap<QString, QStringList> &overrides,
                                                 const QStringList &removals,
                                                 std::shared_ptr<const TagKeyCatalog> availableKeys,
                                                 QWidget *parent)
    : QWidget(parent), m_rows(OverrideLines::fromOverrides(overrides)), m_removals(removals),
      m_keys(std::move(availableKeys))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    auto *heading = SheetStyle::label(tr("Metadata Operations:"),
                                      SheetStyle::subheadline(font(), QFont::Medium),
                                      SheetStyle::Tone::Primary, this);
    layout->addWidget(heading);

    m_tabs = new QTabWidget(this);
    m_tabs->setFixedHeight(tabHeight);
    const QColor iconColor = palette().color(QPalette::WindowText);
    m_tabs->addTab(makeOverridesTab(), symbolIcon(QStringLiteral("plus.circle"), iconColor),
                   tr("Add/Modify"));
    m_tabs->addTab(makeRemovalsTab(), symbolIcon(QStringLiteral("minus.circle"), iconColor),
                   tr("Remove"));
    layout->addWidget(m_tabs);
    layout->addStretch();
}

QWidget *MetadataOverridesEditor::makeOverridesTab()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(SheetStyle::label(tr("Add or modify these metadata fields (a field on "
                                           "several lines gets each value as a list item):"),
                                        SheetStyle::caption(font()), SheetStyle::Tone::Secondary,
                                        page));
    auto *scroll = new FittingScrollArea(listMaximumHeight, page);
    scroll->setContent(listContent(&m_rowsLayout, scroll));
    for (const OverrideLine &row : std::as_const(m_rows)) {
        OverrideLineEditor *editor = makeRowEditor(row);
        m_rowsLayout->addWidget(editor);
        m_rowEditors.append(editor);
    }
    layout->addWidget(scroll);
    layout->addStretch();
    return page;
}

QWidget *MetadataOverridesEditor::makeRemovalsTab()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(SheetStyle::label(tr("Remove these metadata fields:"),
                                        SheetStyle::caption(font()), SheetStyle::Tone::Secondary,
                                        page));
    m_removalsScroll = new FittingScrollArea(listMaximumHeight, page);
    m_removalsScroll->setContent(listContent(&m_removalsLayout, m_removalsScroll));
    for (const QString &key : std::as_const(m_removals)) {
        QWidget *line = makeRemovalLine(key);
        m_removalsLayout->addWidget(line);
        m_removalLines.append(line);
    }
    layout->addWidget(m_removalsScroll);
    m_addRemoval = new QPushButton(tr("Add &Field to Remove"), page);
    m_addRemoval->setFont(SheetStyle::caption(font()));
    m_addRemoval->setAutoDefault(false);
    connect(m_addRemoval, &QPushButton::clicked, this, &MetadataOverridesEditor::addRemoval);
    layout->addWidget(m_addRemoval, 0, Qt::AlignLeft);
    layout->addStretch();
    return page;
}

OverrideLineEditor *MetadataOverridesEditor::makeRowEditor(const OverrideLine &row)
{
    auto *editor = new OverrideLineEditor(row, m_keys, m_rows.size() > 1);
    connect(editor, &OverrideLineEditor::rowChanged, this, &MetadataOverridesEditor::rowEdited);
    connect(editor, &OverrideLineEditor::removeRequested, this,
            &MetadataOverridesEditor::removeRow);
    connect(editor, &OverrideLineEditor::addBelowRequested, this,
            &MetadataOverridesEditor::addRowBelow);
    return editor;
}

void MetadataOverridesEditor::setRows(const QList<OverrideLine> &rows)
{
    m_rows = rows;
    for (OverrideLineEditor *editor : std::as_const(m_rowEditors))
        editor->setCanRemove(m_rows.size() > 1);
    Q_EMIT overridesChanged(OverrideLines::toOverrides(m_rows));
}

void MetadataOverridesEditor::rowEdited(const OverrideLine &row)
{
    QList<OverrideLine> rows = m_rows;
    for (OverrideLine &existing : rows) {
        if (existing.id == row.id)
            existing = row;
    }
    setRows(rows);
}

void MetadataOverridesEditor::removeRow(const QUuid &id)
{
    const QList<OverrideLine> rows = OverrideLines::removing(m_rows, id);
    if (rows.size() == m_rows.size())
        return;
    for (qsizetype i = m_rowEditors.size() - 1; i >= 0; --i) {
        if (m_rowEditors.at(i)->row().id != id)
            continue;
        // The row's own button asked: it goes once its click is over.
        OverrideLineEditor *editor = m_rowEditors.takeAt(i);
        editor->hide();
        editor->deleteLater();
    }
    setRows(rows);
}

void MetadataOverridesEditor::addRowBelow(const QUuid &id)
{
    OverrideLine added;
    const QList<OverrideLine> rows = OverrideLines::addingBelow(m_rows, id, &added);
    const qsizetype position = rows.indexOf(added);
    OverrideLineEditor *editor = makeRowEditor(added);
    m_rowsLayout->insertWidget(int(position), editor);
    m_rowEditors.insert(position, editor);
    setRows(rows);
    editor->keyField()->setFocus();
}

QWidget *MetadataOverridesEditor::makeRemovalLine(const QString &key)
{
    auto *line = new QWidget;
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto *field = new KeyField(tr("Metadata tag to remove"), line);
    field->setText(key);
    field->setAvailableKeys(m_keys);
    auto *remove = new QToolButton(line);
    remove->setAutoRaise(true);
    remove->setToolTip(tr("Remove field"));
    remove->setAccessibleName(tr("Remove field"));
    remove->setIcon(symbolIcon(QStringLiteral("minus.circle"), SheetStyle::red(palette())));
    layout->addWidget(field, 1);
    layout->addWidget(remove);
    // Lines are known by their position, which changes as others go.
    connect(field, &QLineEdit::textChanged, this, [this, line](const QString &text) {
        const qsizetype position = m_removalLines.indexOf(line);
        if (position < 0)
            return;
        m_removals[position] = text;
        Q_EMIT removalsChanged(m_removals);
    });
    connect(remove, &QToolButton::clicked, this, [this, line] { removeRemovalLine(line); });
    return line;
}

void MetadataOverridesEditor::removeRemovalLine(QWidget *line)
{
    const qsizetype position = m_removalLines.indexOf(line);
    if (position < 0)
        return;
    m_removalLines.removeAt(position);
    m_removals.removeAt(position);
    line->deleteLater();
    line->hide();
    Q_EMIT removalsChanged(m_removals);
}

void MetadataOverridesEditor::addRemoval()
{
    m_removals.append(QString());
    QWidget *line = makeRemovalLine(QString());
    m_removalsLayout->addWidget(line);
    m_removalLines.append(line);
    Q_EMIT removalsChanged(m_removals);
    line->findChild<KeyField *>()->setFocus();
    // Show the new line even when the list already scrolls.
    QTimer::singleShot(0, m_removalsScroll, [scroll = m_removalsScroll] {
        scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    });
}

QList<KeyField *> MetadataOverridesEditor::removalFields() const
{
    QList<KeyField *> fields;
    for (QWidget *line : m_removalLines)
        fields.append(line->findChild<KeyField *>());
    return fields;
}

void MetadataOverridesEditor::setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys)
{
    m_keys = std::move(keys);
    for (OverrideLineEditor *editor : std::as_const(m_rowEditors))
        editor->setAvailableKeys(m_keys);
    for (KeyField *field : removalFields())
        field->setAvailableKeys(m_keys);
}

} // namespace Metaloom
