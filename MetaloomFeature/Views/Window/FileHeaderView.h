#pragma once

#include "MetaloomFeature/Model/MediaItem.h"

#include <QPointer>
#include <QWidget>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Metaloom {

class LibraryViewModel;

// The selected file's preview: its thumbnail at most 160 points on a side
// (less in the compact header), rounded, with a soft shadow; a photo symbol
// while there is none.
class FilePreview : public QWidget {
    Q_OBJECT

public:
    static constexpr int maximumEdge = 160;

    explicit FilePreview(QWidget *parent = nullptr);

    void setThumbnail(const std::optional<QImage> &thumbnail);
    // The first few of several files, stacked one over the other.
    void setStackedThumbnails(const QList<QImage> &thumbnails);
    bool hasThumbnail() const { return !m_thumbnail.isNull(); }
    // The longest side of the picture; small in the compact header.
    void setEdge(int edge);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_thumbnail;
    int m_edge = maximumEdge;
};

// The top of the detail area: the selected file's preview, name and full
// path (both selectable), and its Save Changes, Revert, Remove Metadata and
// Reload buttons; under them, for a file ExifTool cannot write, the line
// that says its metadata is shown read-only. With compact rows it shrinks
// to one line (a small preview, the name, the path and the buttons side by
// side), so the dense list gets the height.
class FileHeaderView : public QWidget {
    Q_OBJECT

public:
    explicit FileHeaderView(LibraryViewModel *viewModel, QWidget *parent = nullptr);

    QPushButton *saveButton() const { return m_save; }
    QPushButton *removeMetadataButton() const { return m_removeMetadata; }
    QPushButton *reloadButton() const { return m_reload; }
    // A button of the window's own after the file's buttons (the Privacy
    // toggle), so it takes no line of the tag list's height.
    void addButton(QPushButton *button);
    QString shownFileName() const;
    QString shownPath() const;
    // The line under the header; hidden while there is nothing to say.
    QLabel *formatNote() const { return m_formatNote; }
    bool isCompact() const { return m_compact; }
    void setCompact(bool compact);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitNameColumn();
    void showSelectedItem();
    void showSeveralItems();
    void updateButtons();
    // The button's title, as its text or, in the slim header, its tooltip.
    void showTitle(QPushButton *button, const QString &title);
    void showFormatNote();

    QPointer<LibraryViewModel> m_viewModel;
    FilePreview *m_preview;
    QLineEdit *m_name;
    QLineEdit *m_path;
    QPushButton *m_save;
    QPushButton *m_revert;
    QPushButton *m_removeMetadata;
    QPushButton *m_reload;
    QLabel *m_formatNote;
    QWidget *m_buttons;
    QGridLayout *m_grid;
    QFont m_titleFont;
    bool m_compact = false;
};

} // namespace Metaloom
