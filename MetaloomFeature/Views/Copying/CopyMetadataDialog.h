#pragma once

#include "MetaloomFeature/Library/Copying/CopyMetadata.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace Metaloom {

class LibraryViewModel;

// "Copy Metadata From…": which file the targets take their tags from (one of
// the loaded files, another file, or each target's RAW+JPEG partner), which
// tags, and per target what would change. The library reads the preview;
// the dialog asks again whenever the source or the family changes and shows
// what it gets back.
class CopyMetadataDialog : public QDialog {
    Q_OBJECT

public:
    CopyMetadataDialog(LibraryViewModel *viewModel, const CopyMetadataRequest &request,
                       QWidget *parent = nullptr);

    CopySource source() const;
    CopyFamily family() const;
    // Takes the tags from a file that need not be loaded (also what "Other
    // File…" leads to once a file is chosen).
    void setSourceFile(const QUrl &file);
    void setFamily(CopyFamily family);

    QComboBox *sourceChoice() const { return m_sources; }
    QComboBox *familyChoice() const { return m_families; }
    QTreeWidget *previewList() const { return m_preview; }
    QPushButton *copyButton() const { return m_copy; }
    QString statusText() const;

private:
    void addSource(const QString &title, const CopySource &source);
    void sourceChosen(int index);
    void askForPreview();
    void showPreview();
    void chooseOtherFile();

    QPointer<LibraryViewModel> m_viewModel;
    CopyMetadataRequest m_request;
    QLabel *m_title;
    QComboBox *m_sources;
    QComboBox *m_families;
    QTreeWidget *m_preview;
    QLabel *m_status;
    QPushButton *m_copy;
    int m_otherFileIndex = -1;
    int m_lastSourceIndex = 0;
};

} // namespace Metaloom
