#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace Metaloom {

// The question before a destructive operation, shown window-modal over the
// window that asked: a title, the question, Cancel and the red confirm
// button. Return confirms, Escape (or closing the dialog) cancels. Each
// answer calls back once; the decision itself is the caller's.
class ConfirmationDialog : public QDialog {
    Q_OBJECT

public:
    struct Answers {
        std::function<void()> confirm;
        std::function<void()> cancel;
    };

    ConfirmationDialog(const QString &title, const QString &message, const QString &confirmTitle,
                       Answers answers, QWidget *parent = nullptr);

    QString message() const;
    void setMessage(const QString &message);

    // A choice the answer depends on, under the question ("Strip profile:"
    // and its options); `chosen` is called with the index the user picks.
    void setChoice(const QString &label, const QStringList &options, int current,
                   std::function<void(int)> chosen);
    QComboBox *choice() const { return m_choice; }

    QPushButton *confirmButton() const { return m_confirm; }
    QPushButton *cancelButton() const { return m_cancel; }

    void done(int result) override;

private:
    QLabel *m_message;
    QVBoxLayout *m_layout;
    QComboBox *m_choice = nullptr;
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    Answers m_answers;
    bool m_answered = false;
};

// "Are you sure you want to remove all metadata from <file name>? ..."
QString removeMetadataQuestion(const QString &fileName);
// "... from 1 loaded file? ..." or "... from 3 loaded files? ..."
QString removeAllMetadataQuestion(int itemCount);
// The same questions for a strip by a profile other than "Everything":
// "Are you sure you want to strip photo.jpg with the profile “Location
// only”? ..."
QString stripByProfileQuestion(const QString &fileName, const QString &profileTitle);
QString stripAllByProfileQuestion(int itemCount, const QString &profileTitle);

// Removing the metadata of one file.
class RemoveMetadataConfirmation : public ConfirmationDialog {
    Q_OBJECT

public:
    RemoveMetadataConfirmation(const QString &fileName, Answers answers, QWidget *parent = nullptr);

    // The question follows the strip profile chosen (empty: everything).
    void setProfileTitle(const QString &profileTitle);

private:
    QString m_fileName;
};

// Removing the metadata of every loaded file; the count can change while the
// question is open, and the text follows it.
class RemoveAllMetadataConfirmation : public ConfirmationDialog {
    Q_OBJECT

public:
    RemoveAllMetadataConfirmation(int itemCount, Answers answers, QWidget *parent = nullptr);

    void setItemCount(int itemCount);
    void setProfileTitle(const QString &profileTitle);

private:
    int m_itemCount;
    QString m_profileTitle;
};

} // namespace Metaloom
