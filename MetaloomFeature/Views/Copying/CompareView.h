#pragma once

#include "MetaloomFeature/Library/CompareAlignment.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLabel;
class QTreeWidget;

namespace Metaloom {

class LibraryViewModel;

// Two files' tags side by side, one row per key either holds, the rows that
// differ marked; "Only differences" hides the rest. It follows the
// library's comparison: "Reading…" first, then the rows or why there are none.
class CompareView : public QDialog {
    Q_OBJECT

public:
    explicit CompareView(LibraryViewModel *viewModel, QWidget *parent = nullptr);

    QTreeWidget *rowList() const { return m_rows; }
    QCheckBox *onlyDifferences() const { return m_onlyDifferences; }
    QString statusText() const;

private:
    void showComparison();

    QPointer<LibraryViewModel> m_viewModel;
    QLabel *m_title;
    QCheckBox *m_onlyDifferences;
    QTreeWidget *m_rows;
    QLabel *m_status;
};

} // namespace Metaloom
