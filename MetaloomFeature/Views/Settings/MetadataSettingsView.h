#pragma once

#include "MetaloomFeature/Library/FieldSettings/FieldSettingsDraft.h"
#include "MetaloomFeature/Model/CustomMetadataTag.h"

#include <QList>
#include <QScrollArea>
#include <QSet>

#include <optional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QVBoxLayout;

namespace Metaloom {

class LibraryViewModel;
class PinnableKeysModel;

// The "Metadata" tab of the settings sheet: which fields are pinned, and the
// custom fields (tag keys to edit even where a file lacks them, each with an
// optional label). It shows and drives a FieldSettingsDraft of the library's
// pins and fields, which keeps every change to itself until Done tidies the
// custom fields and applies everything, closing the sheet; Cancel closes it
// and forgets the draft. The sections scroll; Cancel and Done stay in view
// below them.
class MetadataSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit MetadataSettingsView(LibraryViewModel *viewModel, QWidget *parent = nullptr);
    ~MetadataSettingsView() override;

    const FieldSettingsDraft &draft() const { return *m_draft; }
    const QSet<QString> &pinnedSelection() const { return m_draft->pinned(); }
    const QList<CustomMetadataTag> &customTags() const { return m_draft->customTags(); }
    std::optional<QString> validationMessage() const { return m_validationMessage; }

    // What the controls do.
    void setPinned(const QString &key, bool pinned);
    void addCustomField();
    void editCustomField(qsizetype position, const QString &text);
    void deleteCustomField(qsizetype position);
    void cancel();
    void done();

    QLineEdit *searchField() const { return m_searchField; }
    QListView *fieldList() const { return m_fieldList; }
    PinnableKeysModel *keysModel() const { return m_keysModel; }
    QLabel *noMatchesLabel() const { return m_noMatches; }
    QList<QLineEdit *> customFieldEditors() const { return m_customEditors; }
    QList<QToolButton *> deleteButtons() const { return m_deleteButtons; }
    QLabel *noCustomFieldsLabel() const { return m_noCustomFields; }
    QLineEdit *newFieldEditor() const { return m_newField; }
    QPushButton *addButton() const { return m_addButton; }
    QLabel *validationLabel() const { return m_validation; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QPushButton *doneButton() const { return m_doneButton; }
    QScrollArea *sections() const { return m_sections; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeVisibleFieldsSection(QWidget *parent);
    QWidget *makeCustomFieldsSection(QWidget *parent);
    QWidget *makeButtonRow(QWidget *parent);
    void showMatchesOrNote();
    void rebuildCustomRows();
    void setValidationMessage(std::optional<QString> message);
    void updateAddButton();

    FieldSettingsDraft *m_draft;
    QScrollArea *m_sections = nullptr;
    std::optional<QString> m_validationMessage;

    QLineEdit *m_searchField = nullptr;
    QListView *m_fieldList = nullptr;
    PinnableKeysModel *m_keysModel = nullptr;
    QLabel *m_noMatches = nullptr;
    QStackedWidget *m_customStack = nullptr;
    QWidget *m_customRows = nullptr;
    QVBoxLayout *m_customRowsLayout = nullptr;
    QList<QLineEdit *> m_customEditors;
    QList<QToolButton *> m_deleteButtons;
    QLabel *m_noCustomFields = nullptr;
    QLineEdit *m_newField = nullptr;
    QPushButton *m_addButton = nullptr;
    QLabel *m_validation = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_doneButton = nullptr;
};

} // namespace Metaloom
