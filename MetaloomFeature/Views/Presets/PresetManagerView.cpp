#include "MetaloomFeature/Views/Presets/PresetManagerView.h"

#include "MetaloomFeature/Views/Kit/ConfirmationBanner.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Presets/MetadataOverridesEditor.h"
#include "MetaloomFeature/Views/Window/PresetChooserButton.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Model/PresetsStore.h"

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

Preset blankPreset()
{
    return {QUuid::createUuid(), QString(), PresetAction::addOrModifyMetadata()};
}

// Removal lines as the engine can use them: trimmed, blank ones left out
// (an empty key would make every file of the batch fail).
QStringList usableRemovals(const QStringList &removals)
{
    QStringList keys;
    for (const QString &removal : removals) {
        if (const QString key = removal.trimmed(); !key.isEmpty())
            keys.append(key);
    }
    return keys;
}

// The reason the engine would give for refusing the preset's operations.
std::optional<QString> refusalOf(const PresetAction &action)
{
    for (auto it = action.overrides.cbegin(); it != action.overrides.cend(); ++it) {
        if (std::optional<QString> reason = ExifToolService::keyRefusalReason(it.key()))
            return reason;
        for (const QString &item : it.value()) {
            if (std::optional<QString> reason = ExifToolService::valueRefusalReason(it.key(), item))
                return reason;
        }
    }
    for (const QString &key : action.removals) {
        if (std::optional<QString> reason = ExifToolService::keyRefusalReason(key))
            return reason;
    }
    return std::nullopt;
}

std::optional<Preset> storedPreset(const PresetsStore &store, const QUuid &id)
{
    for (const Preset &preset : store.presets()) {
        if (preset.id == id)
            return preset;
    }
    return std::nullopt;
}

} // namespace

PresetManagerView::PresetManagerView(PresetsStore *presetsStore, QWidget *parent,
                                     std::optional<ResourceBundle> keysBundle)
    : QDialog(parent), m_store(presetsStore)
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
    if (m_store->presets().isEmpty()) {
        startNewPreset();
    } else {
        const Preset first = m_store->presets().constFirst();
        m_selectedPresetID = first.id;
        setWorkingCopy(first, false);
    }

    m_engine = new ExifToolService(std::move(keysBundle), this);
    loadAvailableKeys();
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
        if (!m_editingPreset)
            return;
        m_editingPreset->name = name;
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
    m_closeButton = new QPushButton(tr("Close"), buttons);
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
    m_saveButton = new QPushButton(tr("Save"), buttons);
    m_saveButton->setDefault(true);
    connect(m_saveButton, &QPushButton::clicked, this, &PresetManagerView::save);
    layout->addWidget(m_closeButton);
    layout->addWidget(m_saveButton);
    return buttons;
}

void PresetManagerView::rebuildChooserMenu()
{
    m_chooserMenu->clear();
    for (const Preset &preset : m_store->presets()) {
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
    if (m_isCreatingNew)
        return tr("New Preset");
    return m_editingPreset ? m_editingPreset->name : QString();
}

void PresetManagerView::selectPreset(const QUuid &id)
{
    setSelectedPresetID(id);
}

void PresetManagerView::setSelectedPresetID(std::optional<QUuid> id)
{
    if (id == m_selectedPresetID)
        return;
    m_selectedPresetID = id;
    // Leaving the selection empty keeps whatever is being edited.
    if (id)
        setWorkingCopy(storedPreset(*m_store, *id), false);
}

void PresetManagerView::startNewPreset()
{
    m_selectedPresetID.reset();
    setWorkingCopy(blankPreset(), true);
}

void PresetManagerView::setWorkingCopy(std::optional<Preset> preset, bool creatingNew)
{
    m_isCreatingNew = creatingNew;
    m_editingPreset = std::move(preset);
    m_nameField->setText(m_editingPreset ? m_editingPreset->name : QString());
    refreshControls();
    rebuildDetailIfNeeded();
}

void PresetManagerView::refreshControls()
{
    m_chooser->setChoiceText(chooserText());
    m_nameField->setEnabled(m_editingPreset.has_value());
    m_deleteButton->setVisible(!m_isCreatingNew && m_editingPreset);
    m_saveButton->setEnabled(m_editingPreset && !m_editingPreset->name.trimmed().isEmpty());
}

QString PresetManagerView::editorIdentity() const
{
    if (!m_editingPreset)
        return QString();
    return m_isCreatingNew ? QStringLiteral("new-preset") : m_editingPreset->id.toString();
}

void PresetManagerView::rebuildDetailIfNeeded()
{
    const QString identity = editorIdentity();
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

    if (!m_editingPreset) {
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
    const PresetAction &action = m_editingPreset->action;
    m_editor = new MetadataOverridesEditor(action.overrides, action.removals, m_keyCatalog, box);
    // Writes go to the working copy, and only while there is one.
    connect(m_editor, &MetadataOverridesEditor::overridesChanged, this,
            [this](const QMap<QString, QStringList> &overrides) {
                if (m_editingPreset)
                    m_editingPreset->action =
                        PresetAction::addOrModifyItems(overrides, m_editingPreset->action.removals);
            });
    connect(m_editor, &MetadataOverridesEditor::removalsChanged, this,
            [this](const QStringList &removals) {
                if (m_editingPreset)
                    m_editingPreset->action =
                        PresetAction::addOrModifyItems(m_editingPreset->action.overrides, removals);
            });
    boxLayout->addWidget(m_editor);
    m_detailLayout->addWidget(box);
    m_detailLayout->addStretch();
}

void PresetManagerView::save()
{
    if (!m_editingPreset)
        return;
    Preset preset = *m_editingPreset;
    if (preset.name.isEmpty())
        preset.name = tr("Untitled Preset");
    preset.action.removals = usableRemovals(preset.action.removals);
    // Saved, such a preset would fail on every file it is applied to.
    if (const std::optional<QString> reason = refusalOf(preset.action)) {
        alert(tr("Preset Not Saved"), *reason, QStringLiteral("presetRefusedAlert"));
        return;
    }
    bool written = false;
    if (m_isCreatingNew) {
        written = m_store->addPreset(preset);
        m_selectedPresetID = preset.id;
        m_isCreatingNew = false;
    } else {
        written = m_store->updatePreset(preset);
    }
    m_editingPreset = preset;
    m_nameField->setText(preset.name);
    refreshControls();
    rebuildDetailIfNeeded();
    if (!written) {
        reportUnwrittenChange();
        return;
    }
    setShowSaveConfirmation(true);
    m_confirmationTimer.start();
}

void PresetManagerView::deletePreset()
{
    if (!m_editingPreset || m_isCreatingNew)
        return;
    const bool written = m_store->removePreset(*m_editingPreset);
    if (m_store->presets().isEmpty())
        startNewPreset();
    else
        setSelectedPresetID(m_store->presets().constFirst().id);
    if (!written)
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

void PresetManagerView::setAvailableKeys(const QStringList &keys)
{
    m_availableKeys = keys;
    m_keyCatalog = keys.isEmpty() ? nullptr : std::make_shared<const TagKeyCatalog>(keys);
    if (m_editor)
        m_editor->setAvailableKeys(m_keyCatalog);
    Q_EMIT availableKeysChanged();
}

QCoro::Task<void> PresetManagerView::loadAvailableKeys()
{
    QPointer<PresetManagerView> self(this);
    try {
        const QStringList keys = co_await m_engine->allTagKeys();
        if (self)
            self->setAvailableKeys(keys);
    } catch (...) {
        // Without the listing the pickers stay hidden; keys can be typed.
    }
}

} // namespace Metaloom
