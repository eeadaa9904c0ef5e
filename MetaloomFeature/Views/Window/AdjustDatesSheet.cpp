#include "MetaloomFeature/Views/Window/AdjustDatesSheet.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace Metaloom {

namespace {

const QString dateFormat = QStringLiteral("yyyy:MM:dd HH:mm:ss");

QSpinBox *amountBox(int maximum, const QString &suffix, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(0, maximum);
    box->setSuffix(suffix);
    return box;
}

ExifDateTime exifDate(const QDateTime &date)
{
    ExifDateTime value;
    value.date = date.date();
    value.time = date.time();
    return value;
}

// How a video's QuickTime dates are taken, in the order the choice lists them.
struct QuickTimeChoice {
    bool detect;
    bool utc;
};
constexpr QuickTimeChoice quickTimeChoices[] = {
    {true, false}, {true, true}, {false, false}, {false, true}};

} // namespace

AdjustDatesSheet::AdjustDatesSheet(LibraryViewModel *library, const AdjustDatesRequest &request,
                                   QWidget *parent)
    : QDialog(parent), m_library(library), m_request(request)
{
    setWindowTitle(tr("Adjust Dates"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(request.items.size() == 1
                       ? tr("Adjust the dates of “%1”.").arg(request.items.first().fileName)
                       : tr("Adjust the dates of %n files.", nullptr, int(request.items.size())),
                   this));
    layout->addWidget(makeAmountControls());
    layout->addWidget(makeOptionControls());
    m_table = new QTableWidget(0, 4, this);
    m_table->setHorizontalHeaderLabels({tr("File"), tr("Date"), tr("Before"), tr("After")});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setMinimumSize(640, 220);
    layout->addWidget(m_table, 1);
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    layout->addWidget(m_note);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton *apply = m_buttons->addButton(tr("Adjust Dates"), QDialogButtonBox::AcceptRole);
    apply->setDefault(true);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        // The library clears its request, which closes the sheet.
        if (m_library)
            m_library->confirmAdjustDates(adjustment());
    });

    m_previewDelay = new QTimer(this);
    m_previewDelay->setSingleShot(true);
    m_previewDelay->setInterval(250);
    connect(m_previewDelay, &QTimer::timeout, this, &AdjustDatesSheet::askForPreview);
    if (m_library)
        connect(m_library, &LibraryViewModel::datesPreviewChanged, this,
                &AdjustDatesSheet::showPreview);
    controlsChanged();
    askForPreview();
}

QWidget *AdjustDatesSheet::makeAmountControls()
{
    auto *box = new QWidget(this);
    auto *form = new QFormLayout(box);
    m_shiftMode = new QRadioButton(tr("Shift by"), box);
    m_setMode = new QRadioButton(tr("Set to"), box);
    m_clockMode = new QRadioButton(tr("Take the shift from a photo"), box);
    m_shiftMode->setChecked(true);

    auto *amount = new QWidget(box);
    auto *row = new QHBoxLayout(amount);
    row->setContentsMargins(0, 0, 0, 0);
    m_sign = new QComboBox(amount);
    m_sign->addItems(
        {tr("later", "shift the dates forwards"), tr("earlier", "shift the dates back")});
    m_days = amountBox(99999, tr(" d", "days"), amount);
    m_hours = amountBox(23, tr(" h", "hours"), amount);
    m_minutes = amountBox(59, tr(" min", "minutes"), amount);
    m_seconds = amountBox(59, tr(" s", "seconds"), amount);
    m_hours->setValue(1);
    for (QWidget *part :
         std::initializer_list<QWidget *>{m_days, m_hours, m_minutes, m_seconds, m_sign})
        row->addWidget(part);
    form->addRow(m_shiftMode, amount);

    m_setTo = new QDateTimeEdit(QDateTime::currentDateTime(), box);
    m_setTo->setDisplayFormat(dateFormat);
    form->addRow(m_setMode, m_setTo);

    auto *clock = new QWidget(box);
    auto *clockRow = new QHBoxLayout(clock);
    clockRow->setContentsMargins(0, 0, 0, 0);
    m_clockPhoto = new QComboBox(clock);
    for (const MediaItem &item : std::as_const(m_request.items))
        m_clockPhoto->addItem(item.fileName, item.id);
    m_clockTime = new QDateTimeEdit(QDateTime::currentDateTime(), clock);
    m_clockTime->setDisplayFormat(dateFormat);
    clockRow->addWidget(m_clockPhoto);
    clockRow->addWidget(new QLabel(tr("shows"), clock));
    clockRow->addWidget(m_clockTime);
    form->addRow(m_clockMode, clock);
    m_clockResult = new QLabel(box);
    form->addRow(QString(), m_clockResult);

    for (QRadioButton *mode : {m_shiftMode, m_setMode, m_clockMode})
        connect(mode, &QRadioButton::toggled, this, &AdjustDatesSheet::controlsChanged);
    for (QSpinBox *part : {m_days, m_hours, m_minutes, m_seconds})
        connect(part, &QSpinBox::valueChanged, this, &AdjustDatesSheet::controlsChanged);
    connect(m_sign, &QComboBox::currentIndexChanged, this, &AdjustDatesSheet::controlsChanged);
    connect(m_clockPhoto, &QComboBox::currentIndexChanged, this,
            &AdjustDatesSheet::controlsChanged);
    for (QDateTimeEdit *edit : {m_setTo, m_clockTime})
        connect(edit, &QDateTimeEdit::dateTimeChanged, this, &AdjustDatesSheet::controlsChanged);
    return box;
}

QWidget *AdjustDatesSheet::makeOptionControls()
{
    auto *box = new QWidget(this);
    auto *form = new QFormLayout(box);
    auto *families = new QWidget(box);
    auto *row = new QHBoxLayout(families);
    row->setContentsMargins(0, 0, 0, 0);
    m_capture = new QCheckBox(tr("Capture dates"), families);
    m_capture->setChecked(true);
    m_modification = new QCheckBox(tr("Modification dates"), families);
    m_fileDate = new QCheckBox(tr("The file's modification date"), families);
    for (QCheckBox *family : {m_capture, m_modification, m_fileDate}) {
        row->addWidget(family);
        connect(family, &QCheckBox::toggled, this, &AdjustDatesSheet::controlsChanged);
    }
    form->addRow(tr("Dates:"), families);

    auto *zone = new QWidget(box);
    auto *zoneRow = new QHBoxLayout(zone);
    zoneRow->setContentsMargins(0, 0, 0, 0);
    m_zone = new QComboBox(zone);
    m_zone->addItems({tr("Keep"), tr("Set to"), tr("Shift by")});
    m_zoneOffset = new QLineEdit(QStringLiteral("+00:00"), zone);
    m_zoneOffset->setPlaceholderText(QStringLiteral("+HH:MM"));
    zoneRow->addWidget(m_zone);
    zoneRow->addWidget(m_zoneOffset);
    form->addRow(tr("Time zone:"), zone);
    connect(m_zone, &QComboBox::currentIndexChanged, this, &AdjustDatesSheet::controlsChanged);
    connect(m_zoneOffset, &QLineEdit::textChanged, this, &AdjustDatesSheet::controlsChanged);

    m_quickTime = new QComboBox(box);
    m_quickTime->addItems({tr("As the video tells, otherwise local time"),
                           tr("As the video tells, otherwise UTC"), tr("Local time"), tr("UTC")});
    form->addRow(tr("Video dates (QuickTime):"), m_quickTime);
    connect(m_quickTime, &QComboBox::currentIndexChanged, this, &AdjustDatesSheet::controlsChanged);
    return box;
}

std::optional<DateShift> AdjustDatesSheet::clockShift() const
{
    const auto found = m_captureDates.constFind(m_clockPhoto->currentData().toUuid());
    if (found == m_captureDates.cend())
        return std::nullopt;
    return DateShift::between(*found, exifDate(m_clockTime->dateTime()));
}

DateAdjustment AdjustDatesSheet::adjustment() const
{
    DateAdjustment chosen;
    DateOptions &options = chosen.options;
    if (m_setMode->isChecked()) {
        options.mode = DateOptions::Mode::set;
        options.setTo = exifDate(m_setTo->dateTime());
    } else if (m_clockMode->isChecked()) {
        options.shift = clockShift().value_or(DateShift{});
    } else {
        options.shift = DateShift::of(m_days->value(), m_hours->value(), m_minutes->value(),
                                      m_seconds->value());
        if (m_sign->currentIndex() == 1)
            options.shift.seconds = -options.shift.seconds;
    }
    options.captureDates = m_capture->isChecked();
    options.modificationDates = m_modification->isChecked();
    options.fileDate = m_fileDate->isChecked();
    const std::optional<int> offset = DateZone::parse(m_zoneOffset->text().trimmed());
    if (m_zone->currentIndex() > 0 && offset) {
        options.zone =
            m_zone->currentIndex() == 1 ? DateOptions::Zone::set : DateOptions::Zone::shift;
        options.zoneMinutes = *offset;
    }
    const QuickTimeChoice quickTime = quickTimeChoices[qBound(0, m_quickTime->currentIndex(), 3)];
    chosen.detectQuickTime = quickTime.detect;
    options.quickTimeUtc = quickTime.utc;
    return chosen;
}

void AdjustDatesSheet::controlsChanged()
{
    m_zoneOffset->setEnabled(m_zone->currentIndex() > 0);
    // Only the chosen way of moving the dates can be changed.
    for (QWidget *part :
         std::initializer_list<QWidget *>{m_sign, m_days, m_hours, m_minutes, m_seconds})
        part->setEnabled(m_shiftMode->isChecked());
    m_setTo->setEnabled(m_setMode->isChecked());
    m_clockPhoto->setEnabled(m_clockMode->isChecked());
    m_clockTime->setEnabled(m_clockMode->isChecked());
    if (m_clockMode->isChecked()) {
        const std::optional<DateShift> shift = clockShift();
        m_clockResult->setText(shift ? tr("The dates move by %1.").arg(shift->text())
                                     : tr("This photo has no capture date."));
    } else {
        m_clockResult->clear();
    }
    m_previewDelay->start();
}

void AdjustDatesSheet::askForPreview()
{
    if (m_library)
        m_library->previewDates(adjustment());
}

void AdjustDatesSheet::showPreview()
{
    if (!m_library)
        return;
    const DatePreviewState &preview = m_library->datesPreview();
    if (preview.isLoading)
        return;
    for (const DatePreviewRow &row : preview.rows) {
        if (row.plan.captureDate)
            m_captureDates.insert(row.itemID, *row.plan.captureDate);
    }
    // The clock photo's date arrived with this preview: the shift it gives
    // is asked for now.
    if (m_clockMode->isChecked() && preview.adjustment && *preview.adjustment != adjustment()) {
        controlsChanged();
        return;
    }
    m_table->setRowCount(0);
    QStringList notes;
    const auto addRow = [this](const QString &file, const QString &key, const QString &before,
                               const QString &after) {
        const int index = m_table->rowCount();
        m_table->insertRow(index);
        const QStringList cells{file, key, before, after};
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(index, column, new QTableWidgetItem(cells.at(column)));
    };
    qsizetype changing = 0;
    for (const DatePreviewRow &row : preview.rows) {
        if (row.plan.changes.isEmpty())
            addRow(row.fileName, QString(), QString(), tr("Nothing to change"));
        else
            ++changing;
        for (const DateChange &change : row.plan.changes)
            addRow(row.fileName, change.key, change.before.isEmpty() ? tr("none") : change.before,
                   change.after.isEmpty() ? tr("removed") : change.after);
        for (DateWarning warning : row.plan.warnings)
            notes << row.fileName + QStringLiteral(": ") + DatePlanning::warningText(warning);
    }
    if (!preview.failure.isEmpty())
        notes.prepend(preview.failure);
    m_note->setText(notes.join(u'\n'));
    for (QAbstractButton *button : m_buttons->buttons()) {
        if (m_buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
            button->setEnabled(changing > 0);
    }
}

} // namespace Metaloom
