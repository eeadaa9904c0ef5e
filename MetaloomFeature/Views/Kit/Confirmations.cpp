#include "MetaloomFeature/Views/Kit/Confirmations.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Metaloom {

namespace {

constexpr int padding = 24;
constexpr int spacing = 16;
constexpr int dialogMinimumWidth = 400;

} // namespace

ConfirmationDialog::ConfirmationDialog(const QString &title, const QString &message,
                                       const QString &confirmTitle, Answers answers,
                                       QWidget *parent)
    : QDialog(parent), m_answers(std::move(answers))
{
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setMinimumWidth(dialogMinimumWidth);

    auto *layout = new QVBoxLayout(this);
    m_layout = layout;
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(spacing);
    layout->addWidget(
        SheetStyle::label(title, SheetStyle::title2(font()), SheetStyle::Tone::Primary, this));
    m_message =
        SheetStyle::label(message, SheetStyle::callout(font()), SheetStyle::Tone::Secondary, this);
    layout->addWidget(m_message);
    layout->addWidget(SheetStyle::divider(this));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    // Return answers with the button that has the keyboard focus, so a
    // user who moved to Cancel is never taken to the destructive choice.
    m_cancel = new QPushButton(tr("&Cancel"), this);
    m_confirm = new QPushButton(confirmTitle, this);
    m_confirm->setDefault(true);
    SheetStyle::makeProminent(m_confirm, SheetStyle::red(palette()));
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_confirm);
    layout->addLayout(buttons);

    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_confirm, &QPushButton::clicked, this, &QDialog::accept);
    m_confirm->setFocus();
}

QString ConfirmationDialog::message() const
{
    return m_message->text();
}

void ConfirmationDialog::setMessage(const QString &message)
{
    m_message->setText(message);
}

void ConfirmationDialog::setChoice(const QString &label, const QStringList &options, int current,
                                   std::function<void(int)> chosen)
{
    if (m_choice)
        return;
    auto *row = new QHBoxLayout;
    row->addWidget(
        SheetStyle::label(label, SheetStyle::callout(font()), SheetStyle::Tone::Secondary, this));
    m_choice = new QComboBox(this);
    m_choice->addItems(options);
    m_choice->setCurrentIndex(current);
    row->addWidget(m_choice, 1);
    // Under the question, above the divider.
    m_layout->insertLayout(m_layout->indexOf(m_message) + 1, row);
    connect(m_choice, &QComboBox::currentIndexChanged, this,
            [chosen = std::move(chosen)](int index) {
                if (chosen && index >= 0)
                    chosen(index);
            });
}

void ConfirmationDialog::done(int result)
{
    // Escape, the close button and Cancel all end here as a rejection.
    if (!m_answered) {
        m_answered = true;
        const auto &answer = result == QDialog::Accepted ? m_answers.confirm : m_answers.cancel;
        if (answer)
            answer();
    }
    QDialog::done(result);
}

QString removeMetadataQuestion(const QString &fileName)
{
    return QCoreApplication::translate("Confirmations",
                                       "Are you sure you want to remove all metadata from %1? This "
                                       "action cannot be undone.")
        .arg(fileName);
}

QString removeAllMetadataQuestion(int itemCount)
{
    if (itemCount == 1)
        return QCoreApplication::translate("Confirmations",
                                           "Are you sure you want to remove all metadata from 1 "
                                           "loaded file? This action cannot be undone.");
    return QCoreApplication::translate("Confirmations",
                                       "Are you sure you want to remove all metadata from %n "
                                       "loaded files? This action cannot be undone.",
                                       nullptr, itemCount);
}

QString stripByProfileQuestion(const QString &fileName, const QString &profileTitle)
{
    return QCoreApplication::translate("Confirmations",
                                       "Are you sure you want to strip %1 with the profile “%2”? "
                                       "This action cannot be undone.")
        .arg(fileName, profileTitle);
}

QString stripAllByProfileQuestion(int itemCount, const QString &profileTitle)
{
    if (itemCount == 1)
        return QCoreApplication::translate("Confirmations",
                                           "Are you sure you want to strip 1 loaded file with the "
                                           "profile “%1”? This action cannot be undone.")
            .arg(profileTitle);
    return QCoreApplication::translate("Confirmations",
                                       "Are you sure you want to strip %n loaded files with the "
                                       "profile “%1”? This action cannot be undone.",
                                       nullptr, itemCount)
        .arg(profileTitle);
}

RemoveMetadataConfirmation::RemoveMetadataConfirmation(const QString &fileName, Answers answers,
                                                       QWidget *parent)
    : ConfirmationDialog(tr("Remove Metadata"), removeMetadataQuestion(fileName),
                         tr("&Remove Metadata"), std::move(answers), parent),
      m_fileName(fileName)
{}

void RemoveMetadataConfirmation::setProfileTitle(const QString &profileTitle)
{
    setMessage(profileTitle.isEmpty() ? removeMetadataQuestion(m_fileName)
                                      : stripByProfileQuestion(m_fileName, profileTitle));
}

RemoveAllMetadataConfirmation::RemoveAllMetadataConfirmation(int itemCount, Answers answers,
                                                             QWidget *parent)
    : ConfirmationDialog(tr("Remove All Metadata"), removeAllMetadataQuestion(itemCount),
                         tr("&Remove All Metadata"), std::move(answers), parent),
      m_itemCount(itemCount)
{}

void RemoveAllMetadataConfirmation::setItemCount(int itemCount)
{
    m_itemCount = itemCount;
    setMessage(m_profileTitle.isEmpty() ? removeAllMetadataQuestion(itemCount)
                                        : stripAllByProfileQuestion(itemCount, m_profileTitle));
}

void RemoveAllMetadataConfirmation::setProfileTitle(const QString &profileTitle)
{
    m_profileTitle = profileTitle;
    setItemCount(m_itemCount);
}

} // namespace Metaloom
