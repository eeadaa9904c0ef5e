#pragma once

#include <QTreeWidget>

namespace Metaloom {

class LibraryViewModel;

// The Privacy view of the files shown: what in them tells where, when, who
// and with what, one group per class with the tags and their values (for
// several files, which of them hold the class and where they differ), read
// from the library's privacy check whenever the entries change.
class PrivacyPanel : public QTreeWidget {
    Q_OBJECT

public:
    explicit PrivacyPanel(LibraryViewModel *viewModel, QWidget *parent = nullptr);

    void refresh();

private:
    LibraryViewModel *m_viewModel;
};

} // namespace Metaloom
