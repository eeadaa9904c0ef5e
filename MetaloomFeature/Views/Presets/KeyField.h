#pragma once

#include "MetaloomFeature/Library/Presets/TagKeyCatalog.h"

#include <QLineEdit>

#include <memory>

class QCompleter;
class QListView;
class QStringListModel;

namespace Metaloom {

class RemovalKeyPickerMenu;

// A tag-key text field in fixed-pitch type, with the key picker on its
// trailing edge (while there are keys to pick). Picking a key replaces the
// text, as typing would. While the user types, one list below the field
// offers the known keys that contain the text (those starting with it
// first); choosing one takes it.
class KeyField : public QLineEdit {
    Q_OBJECT

public:
    // The most matches offered at once; typing more narrows them.
    static constexpr qsizetype maximumMatches = 100;
    // The list shows this many rows at most and scrolls the rest.
    static constexpr int maximumVisibleMatches = 12;

    explicit KeyField(const QString &placeholder, QWidget *parent = nullptr);

    RemovalKeyPickerMenu *picker() const { return m_picker; }
    void setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys);

    // The list of matches, and what it offers now.
    QListView *matchList() const;
    QStringList offeredMatches() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placePicker();
    void offerMatches(const QString &text);

    RemovalKeyPickerMenu *m_picker;
    QCompleter *m_completer;
    QStringListModel *m_matches;
};

} // namespace Metaloom
