#include "MetaloomFeature/Views/Settings/MetadataSettingsView.h"

#include "MetaloomFeature/Views/Kit/FittingScrollArea.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Settings/PinnedFieldDelegate.h"

#include "MetaloomFeature/Library/FieldSettings/CustomFieldText.h"
#include "MetaloomFeature/Library/FieldSettings/PinnableKeysModel.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace Metaloom {

namespace {

constexpr int padding = 20;
constexpr int sectionSpacing = 16;
constexpr int itemSpacing = 12;
constexpr int fieldListMaximumHeight = 250;
constexpr int customListMaximumHeight = 160;
constexpr int listPadding = 12;

QVBoxLayout *column(QWidget *widget, int spacing, int margin = 0)
{
    auto *layout = new QVBoxLayout(widget);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

MetadataSettingsView::MetadataSettingsView(LibraryViewModel *viewModel, QWidget *parent)
    : QWidget(parent), m_draft(new FieldSettingsDraft(viewModel, this))
{
    m_sections = new QScrollArea(this);
    m_sections->setWidgetResizable(true);
    m_sections->setFrameShape(QFrame::NoFrame);
    m_sections->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_sections->setBackgroundRole(QPalette::Window);

    auto *content = new QWidget(m_sections);
    QVBoxLayout *layout = column(content, sectionSpacing, padding);
    layout->addWidget(SheetStyle::label(
        tr("Choose which metadata fields appear by default and define additional keys to edit."),
        SheetStyle::callout(font()), SheetStyle::Tone::Secondary, content));
    layout->addWidget(makeVisibleFieldsSection(content));
    layout->addWidget(makeCustomFieldsSection(content));
    layout->addStretch();
    m_sections->setWidget(content);

    // The buttons sit outside the scrolling part: however small the sheet,
    // the way out of it is in view.
    QVBoxLayout *outer = column(this, 0);
    outer->addWidget(m_sections, 1);
    QWidget *buttons = makeButtonRow(this);
    buttons->setContentsMargins(padding, 0, padding, padding);
    outer->addWidget(buttons);

    connect(m_draft, &FieldSettingsDraft::customFieldsChanged, this,
            &MetadataSettingsView::rebuildCustomRows);
    showMatchesOrNote();
    rebuildCustomRows();
}

MetadataSettingsView::~MetadataSettingsView() = default;

QWidget *MetadataSettingsView::makeVisibleFieldsSection(QWidget *parent)
{
    auto *section = new QWidget(parent);
    QVBoxLayout *layout = column(section, itemSpacing);
    layout->addWidget(SheetStyle::label(tr("Visible Metadata Fields"), SheetStyle::headline(font()),
                                        SheetStyle::Tone::Primary, section));
    m_searchField = new QLineEdit(section);
    m_searchField->setPlaceholderText(tr("Search fields"));
    m_searchField->setClearButtonEnabled(true);
    layout->addWidget(m_searchField);

    auto *box = new QGroupBox(section);
    QVBoxLayout *boxLayout = column(box, 0, listPadding / 2);

    m_keysModel = m_draft->keysModel();
    m_fieldList = new QListView(box);
    m_fieldList->setModel(m_keysModel);
    m_fieldList->setItemDelegate(new PinnedFieldDelegate(m_fieldList));
    // All rows are alike: the list measures one and lays out thousands at once.
    m_fieldList->setUniformItemSizes(true);
    m_fieldList->setFrameShape(QFrame::NoFrame);
    m_fieldList->setSelectionMode(QAbstractItemView::NoSelection);
    m_fieldList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fieldList->viewport()->setAutoFillBackground(false);
    boxLayout->addWidget(m_fieldList);

    m_noMatches = SheetStyle::label(tr("No matching fields"), SheetStyle::callout(font()),
                                    SheetStyle::Tone::Secondary, box);
    m_noMatches->setContentsMargins(listPadding / 2, listPadding / 2, 0, listPadding / 2);
    boxLayout->addWidget(m_noMatches);
    layout->addWidget(box);

    // The library's keys change under the list (a file read, a field added).
    connect(m_keysModel, &QAbstractItemModel::modelReset, this,
            &MetadataSettingsView::showMatchesOrNote);
    connect(m_searchField, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_keysModel->setFilter(text);
        showMatchesOrNote();
    });
    return section;
}

QWidget *MetadataSettingsView::makeCustomFieldsSection(QWidget *parent)
{
    auto *section = new QWidget(parent);
    QVBoxLayout *layout = column(section, itemSpacing);
    layout->addWidget(SheetStyle::label(tr("Custom Fields"), SheetStyle::headline(font()),
                                        SheetStyle::Tone::Primary, section));
    layout->addWidget(SheetStyle::label(
        tr("Add metadata keys even if they aren't present yet. Use optional Label:Key format to "
           "override the display name."),
        SheetStyle::callout(font()), SheetStyle::Tone::Secondary, section));

    auto *box = new QGroupBox(section);
    QVBoxLayout *boxLayout = column(box, 0);
    m_customStack = new QStackedWidget(box);
    auto *scroll = new FittingScrollArea(customListMaximumHeight, m_customStack);
    m_customRows = new QWidget(scroll);
    m_customRowsLayout = column(m_customRows, 6, listPadding);
    m_customRowsLayout->addStretch();
    scroll->setContent(m_customRows);
    m_customStack->addWidget(scroll);
    m_noCustomFields = SheetStyle::label(tr("No custom fields yet"), SheetStyle::callout(font()),
                                         SheetStyle::Tone::Tertiary, m_customStack);
    m_noCustomFields->setAlignment(Qt::AlignCenter);
    m_noCustomFields->setContentsMargins(listPadding, listPadding, listPadding, listPadding);
    m_customStack->addWidget(m_noCustomFields);
    boxLayout->addWidget(m_customStack);
    layout->addWidget(box);

    auto *addRow = new QHBoxLayout;
    addRow->setSpacing(itemSpacing);
    m_newField = new QLineEdit(section);
    m_newField->setPlaceholderText(tr("Label or key"));
    m_newField->installEventFilter(this);
    m_addButton = new QPushButton(tr("&Add Custom Field"), section);
    m_addButton->setIcon(
        symbolIcon(QStringLiteral("plus.circle"), palette().color(QPalette::ButtonText)));
    m_addButton->setAutoDefault(false);
    addRow->addWidget(m_newField, 1);
    addRow->addWidget(m_addButton);
    layout->addLayout(addRow);

    m_validation = SheetStyle::label(QString(), SheetStyle::footnote(font()),
                                     SheetStyle::Tone::Primary, section);
    SheetStyle::setTextColor(m_validation, SheetStyle::red(palette()));
    m_validation->hide();
    layout->addWidget(m_validation);

    connect(m_newField, &QLineEdit::textChanged, this, &MetadataSettingsView::updateAddButton);
    connect(m_addButton, &QPushButton::clicked, this, &MetadataSettingsView::addCustomField);
    updateAddButton();
    return section;
}

QWidget *MetadataSettingsView::makeButtonRow(QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addStretch();
    m_cancelButton = new QPushButton(tr("&Cancel"), row);
    m_cancelButton->setAutoDefault(false);
    m_doneButton = new QPushButton(tr("&Done"), row);
    m_doneButton->setDefault(true);
    SheetStyle::makeProminent(m_doneButton, SheetStyle::accent(palette()));
    layout->addWidget(m_cancelButton);
    layout->addWidget(m_doneButton);
    connect(m_cancelButton, &QPushButton::clicked, this, &MetadataSettingsView::cancel);
    connect(m_doneButton, &QPushButton::clicked, this, &MetadataSettingsView::done);
    return row;
}

bool MetadataSettingsView::eventFilter(QObject *watched, QEvent *event)
{
    // Return in the new-field box adds the field; it must not reach the
    // sheet, whose default button would close it and drop what was typed.
    if (watched == m_newField && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_addButton->isEnabled())
                addCustomField();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MetadataSettingsView::setPinned(const QString &key, bool pinned)
{
    m_draft->setPinned(key, pinned);
}

void MetadataSettingsView::showMatchesOrNote()
{
    const int rows = m_keysModel->rowCount();
    m_noMatches->setVisible(rows == 0);
    m_fieldList->setVisible(rows > 0);
    // As tall as its rows, up to a limit; beyond it the list scrolls.
    const int rowHeight = std::max(1, m_fieldList->sizeHintForRow(0));
    const int frame = 2 * m_fieldList->frameWidth();
    m_fieldList->setFixedHeight(std::min(fieldListMaximumHeight, rows * rowHeight + frame));
}

void MetadataSettingsView::rebuildCustomRows()
{
    for (QLineEdit *editor : std::as_const(m_customEditors))
        editor->parentWidget()->deleteLater();
    m_customEditors.clear();
    m_deleteButtons.clear();
    for (const CustomMetadataTag &field : m_draft->customTags()) {
        auto *row = new QWidget(m_customRows);
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *editor = new QLineEdit(CustomFieldText::editText(field), row);
        editor->setPlaceholderText(tr("Label or key"));
        auto *remove = new QToolButton(row);
        remove->setAutoRaise(true);
        remove->setIcon(symbolIcon(QStringLiteral("trash"), SheetStyle::red(palette())));
        remove->setToolTip(tr("Delete custom field"));
        remove->setAccessibleName(tr("Delete custom field"));
        layout->addWidget(editor, 1);
        layout->addWidget(remove);
        m_customRowsLayout->insertWidget(m_customRowsLayout->count() - 1, row);
        m_customEditors.append(editor);
        m_deleteButtons.append(remove);
        // Rows are known by their position at the moment of the event.
        connect(editor, &QLineEdit::textEdited, this, [this, editor](const QString &text) {
            editCustomField(m_customEditors.indexOf(editor), text);
        });
        // The tidy form is shown once the user leaves the line, so blanks
        // being typed are not taken away under the cursor.
        connect(editor, &QLineEdit::editingFinished, this, [this, editor] {
            const qsizetype position = m_customEditors.indexOf(editor);
            const QList<CustomMetadataTag> &fields = m_draft->customTags();
            if (position >= 0 && position < fields.size())
                editor->setText(CustomFieldText::editText(fields.at(position)));
        });
        connect(remove, &QToolButton::clicked, this,
                [this, remove] { deleteCustomField(m_deleteButtons.indexOf(remove)); });
    }
    m_customStack->setCurrentWidget(m_draft->customTags().isEmpty()
                                        ? static_cast<QWidget *>(m_noCustomFields)
                                        : m_customStack->widget(0));
}

void MetadataSettingsView::setValidationMessage(std::optional<QString> message)
{
    m_validationMessage = std::move(message);
    m_validation->setText(m_validationMessage.value_or(QString()));
    m_validation->setVisible(m_validationMessage.has_value());
}

void MetadataSettingsView::updateAddButton()
{
    m_addButton->setEnabled(!m_newField->text().trimmed().isEmpty());
}

void MetadataSettingsView::addCustomField()
{
    setValidationMessage(std::nullopt);
    const std::optional<FieldSettingsDraft::Refusal> refusal =
        m_draft->addCustomField(m_newField->text());
    if (!refusal) {
        m_newField->clear();
        return;
    }
    switch (refusal->kind) {
    case FieldSettingsDraft::Refusal::Kind::noKey:
        setValidationMessage(tr("Enter a metadata key (optional Label:Key)."));
        return;
    case FieldSettingsDraft::Refusal::Kind::duplicateKey:
        setValidationMessage(tr("A custom field with that key already exists."));
        return;
    case FieldSettingsDraft::Refusal::Kind::keyRefused:
        setValidationMessage(refusal->reason);
        return;
    }
}

void MetadataSettingsView::editCustomField(qsizetype position, const QString &text)
{
    m_draft->editCustomField(position, text);
}

void MetadataSettingsView::deleteCustomField(qsizetype position)
{
    m_draft->deleteCustomField(position);
}

void MetadataSettingsView::cancel()
{
    m_draft->cancel();
}

void MetadataSettingsView::done()
{
    setValidationMessage(std::nullopt);
    // A line edited into a key the engine refuses would fail every save of
    // that field; the sheet stays open and says why, losing nothing.
    if (const std::optional<QString> reason = m_draft->done())
        setValidationMessage(*reason);
}

} // namespace Metaloom
