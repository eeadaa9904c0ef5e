#include "MetaloomFeature/Views/Presets/PresetManagerView.h"

#include "MetaloomFeature/Views/Kit/ConfirmationBanner.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Presets/MetadataOverridesEditor.h"
#include "MetaloomFeature/Views/Window/PresetChooserButton.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace Metaloom {

namespace {

constexpr int horizontalPadding = 24;
constexpr int topPadding = 20;
constexpr int bottomPadding = 24;
constexpr int editorPadding = 16;

} // namespace

PresetManagerView::PresetManagerView(PresetsStore *presetsStore,
                                     std::shared_ptr<MetadataEngine> engine, QWidget *parent)
    : QDialog(parent), m_editing(new PresetEditing(presetsStore, std::move(engine), this))
{
    setWindowTitle(tr("Manage Presets"));
    setWindowModality(Qt::WindowModal);
    setMinimumSize(600, 580);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(horizontalPadding, topPadding, horizontalPadding, bottomPadding);
    layout->setSpacing(16);
    layout->addWidget(makeHeader());
    layout->addWidget(SheetStyle::divider(this));
    layout->addWidget(makePresetRow());
    m_detail = new QWidget(this);
    m_detailLayout = new QVBoxLayout(m_detail);
    m_detailLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_detail, 1);
    layout->addWidget(makeButtonRow());

    m_banner = new ConfirmationBanner(tr("Preset saved successfully"), this);
    m_confirmationTimer.setSingleShot(true);
    m_confirmationTimer.setInterval(confirmationDuration);
    connect(&m_confirmationTimer, &QTimer::timeout, this,
            [this] { setShowSaveConfirmation(false); });

    // Appearing: the first stored preset, or a new one when there is none.
    showWorkingCopy();
    connect(m_editing, &PresetEditing::workingCopyChanged, this,
            &PresetManagerView::showWorkingCopy);
    connect(m_editing, &PresetEditing::availableKeysChanged, this, [this] {
        if (m_editor)
            m_editor->setAvailableKeys(m_editing->keyCatalog());
    });
}

PresetManagerView::~PresetManagerView() = default;

QWidget *PresetManagerView::makeHeader()
{
    auto *header = new QWidget(this);
    auto *layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(SheetStyle::label(tr("Manage Presets"),
                                        SheetStyle::systemSize(font(), 20, QFont::DemiBold),
                                        SheetStyle::Tone::Primary, header));
    layout->addWidget(SheetStyle::label(
        tr("Create reusable metadata presets, then apply them from the main toolbar."),
        SheetStyle::callout(font()), SheetStyle::Tone::Secondary, header));
    return header;
}

QWidget *PresetManagerView::makePresetRow()
{
    auto *section = new QWidget(this);
    auto *layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(SheetStyle::label(tr("Preset"), SheetStyle::headline(font()),
                                        SheetStyle::Tone::Primary, section));

    auto *row = new QHBoxLayout;
    row->setSpacing(12);
    m_chooser = new PresetChooserButton(tr("Choose a preset"), section);
    m_chooserMenu = new QMenu(m_chooser);
    m_chooser->setMenu(m_chooserMenu);
    connect(m_chooserMenu, &QMenu::aboutToShow, this, &PresetManagerView::rebuildChooserMenu);
    rebuildChooserMenu();
    row->addWidget(m_chooser);

    m_nameField = new QLineEdit(section);
    m_nameField->setPlaceholderText(tr("Preset Name"));
    connect(m_nameField, &QLineEdit::textEdited, this, [this](const QString &name) {
        if (!m_editing->editingPreset())
            return;
        m_editing->rename(name);
        refreshControls();
    });
    row->addWidget(m_nameField, 1);

    m_deleteButton = new QToolButton(section);
    m_deleteButton->setAutoRaise(true);
    m_deleteButton->setToolTip(tr("Delete preset"));
    m_deleteButton->setAccessibleName(tr("Delete preset"));
    m_deleteButton->setIcon(symbolIcon(QStringLiteral("trash"), SheetStyle::red(palette())));
    m_deleteButton->setIconSize(QSize(16, 16));
    connect(m_deleteButton, &QToolButton::clicked, this, &PresetManagerView::deletePreset);
    row->addWidget(m_deleteButton);
    layout->addLayout(row);
    return section;
}

QWidget *PresetManagerView::makeButtonRow()
{
    auto *buttons = new QWidget(this);
    auto *layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    m_closeButton = new QPushButton(tr("&Close"), buttons);
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
    m_saveButton = new QPushButton(tr("&Save"), buttons);
    m_saveButton->setDefault(true);
    connect(m_saveButton, &QPushButton::clicked, this, &PresetManagerView::save);
    layout->addWidget(m_closeButton);
    layout->addWidget(m_saveButton);
    return buttons;
}

void PresetManagerView::rebuildChooserMenu()
{
    m_chooserMenu->clear();
    for (const Preset &preset : m_editing->presets()) {
        QString title = preset.name;
        QAction *action =
            m_chooserMenu->addAction(title.replace(QLatin1Char('&'), QStringLiteral("&&")));
        const QUuid id = preset.id;
        connect(action, &QAction::triggered, this, [this, id] { selectPreset(id); });
    }
    m_chooserMenu->addSeparator();
    connect(m_chooserMenu->addAction(tr("New Preset")), &QAction::triggered, this,
            &PresetManagerView::startNewPreset);
}

QString PresetManagerView::chooserText() const
{
    if (m_editing->isCreatingNew())
        return tr("New Preset");
    return m_editing->editingPreset() ? m_editing->editingPreset()->name : QString();
}

void PresetManagerView::selectPreset(const QUuid &id)
{
    m_editing->selectPreset(id);
}

void PresetManagerView::startNewPreset()
{
    m_editing->startNewPreset();
}

void PresetManagerView::showWorkingCopy()
{
    const std::optional<Preset> &preset = m_editing->editingPreset();
    m_nameField->setText(preset ? preset->name : QString());
    refreshControls();
    rebuildDetailIfNeeded();
}

void PresetManagerView::refreshControls()
{
    m_chooser->setChoiceText(chooserText());
    m_nameField->setEnabled(m_editing->editingPreset().has_value());
    m_deleteButton->setVisible(m_editing->canDelete());
    m_saveButton->setEnabled(m_editing->canSave());
}

void PresetManagerView::rebuildDetailIfNeeded()
{
    const QString identity = m_editing->editedIdentity();
    if (m_detailLayout->count() > 0 && identity == m_detailIdentity)
        return;
    m_detailIdentity = identity;
    while (QLayoutItem *item = m_detailLayout->takeAt(0)) {
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    m_editor = nullptr;

    if (!m_editing->editingPreset()) {
        m_detailLayout->addWidget(SheetStyle::label(tr("No preset selected"),
                                                    SheetStyle::headline(font()),
                                                    SheetStyle::Tone::Primary, m_detail));
        m_detailLayout->addWidget(SheetStyle::label(
            tr("Create a new preset or choose an existing one from the list on the left."),
            SheetStyle::callout(font()), SheetStyle::Tone::Secondary, m_detail));
        m_detailLayout->addStretch();
        return;
    }
    auto *box = new QGroupBox(m_detail);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(editorPadding, editorPadding, editorPadding, editorPadding);
    const PresetAction &action = m_editing->editingPreset()->action;
    m_editor = new MetadataOverridesEditor(action.overrides, action.removals,
                                           m_editing->keyCatalog(), box);
    // Writes go to the working copy, and only while there is one.
    connect(m_editor, &MetadataOverridesEditor::overridesChanged, m_editing,
            &PresetEditing::setOverrides);
    connect(m_editor, &MetadataOverridesEditor::removalsChanged, m_editing,
            &PresetEditing::setRemovals);
    boxLayout->addWidget(m_editor);
    m_detailLayout->addWidget(box);
    m_detailLayout->addStretch();
}

void PresetManagerView::save()
{
    saveWorkingCopy();
}

PresetEditing::SaveOutcome PresetManagerView::saveWorkingCopy()
{
    const PresetEditing::SaveOutcome outcome = m_editing->save(tr("Untitled Preset"));
    switch (outcome) {
    case PresetEditing::SaveOutcome::nothingToSave:
        break;
    case PresetEditing::SaveOutcome::refused:
        alert(tr("Preset Not Saved"), m_editing->refusal(), QStringLiteral("presetRefusedAlert"));
        break;
    case PresetEditing::SaveOutcome::notWritten:
        reportUnwrittenChange();
        break;
    case PresetEditing::SaveOutcome::saved:
        setShowSaveConfirmation(true);
        m_confirmationTimer.start();
        break;
    }
    return outcome;
}

void PresetManagerView::deletePreset()
{
    if (m_editing->deletePreset() == PresetEditing::DeleteOutcome::notWritten)
        reportUnwrittenChange();
}

void PresetManagerView::reportUnwrittenChange()
{
    // The store keeps the change for this window, but the preferences file
    // did not take it: saying "saved" here would lose the user's work.
    alert(tr("Presets Not Saved"),
          tr("The change could not be written to the preferences file. It stays in this "
             "window, but it will be gone the next time Metaloom starts."),
          QStringLiteral("presetsNotSavedAlert"));
}

void PresetManagerView::done(int result)
{
    if (m_editing->hasUnsavedChanges()) {
        askAboutUnsavedEdits(result);
        return;
    }
    QDialog::done(result);
}

void PresetManagerView::askAboutUnsavedEdits(int result)
{
    if (m_unsavedQuestion)
        return;
    const QString name = m_editing->editingPreset()->name.trimmed();
    const QString text =
        m_editing->isCreatingNew() || name.isEmpty()
            ? tr("Do you want to save the new preset before closing?")
            : tr("Do you want to save the changes to the preset “%1” before closing?").arg(name);
    auto *question = new QMessageBox(QMessageBox::Question, tr("Unsaved Preset"), text,
                                     QMessageBox::NoButton, this);
    question->setInformativeText(tr("Your changes will be lost if you don't save them."));
    question->setObjectName(QStringLiteral("unsavedPresetQuestion"));
    question->setAttribute(Qt::WA_DeleteOnClose);
    question->setWindowModality(Qt::WindowModal);
    QPushButton *saveButton = question->addButton(tr("&Save"), QMessageBox::AcceptRole);
    QPushButton *discardButton =
        question->addButton(tr("&Don't Save"), QMessageBox::DestructiveRole);
    QPushButton *cancelButton = question->addButton(tr("&Cancel"), QMessageBox::RejectRole);
    question->setDefaultButton(saveButton);
    question->setEscapeButton(cancelButton);
    connect(question, &QMessageBox::buttonClicked, this,
            [this, result, saveButton, discardButton](QAbstractButton *clicked) {
                if (clicked == discardButton) {
                    QDialog::done(result);
                } else if (clicked == saveButton) {
                    // A refused or unwritten save says why and keeps the
                    // sheet open under its alert; a stored one closes it.
                    if (saveWorkingCopy() == PresetEditing::SaveOutcome::saved)
                        QDialog::done(result);
                }
            });
    m_unsavedQuestion = question;
    question->open();
}

void PresetManagerView::alert(const QString &title, const QString &text, const QString &name)
{
    auto *alert = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    alert->setObjectName(name);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->open();
}

void PresetManagerView::setShowSaveConfirmation(bool shown)
{
    m_showSaveConfirmation = shown;
    if (shown)
        m_banner->present();
    else
        m_banner->dismiss();
}

} // namespace Metaloom
