#pragma once

#include <QTreeWidget>

namespace Metaloom {

class LibraryViewModel;

// The Privacy view of the file shown: what in it tells where, when, who and
// with what, one group per class with the tags and their values, read from
// the library's privacy check whenever the file's entries change.
class PrivacyPanel : public QTreeWidget {
    Q_OBJECT

public:
    explicit PrivacyPanel(LibraryViewModel *viewModel, QWidget *parent = nullptr);

    void refresh();

private:
    LibraryViewModel *m_viewModel;
};

} // namespace Metaloom
