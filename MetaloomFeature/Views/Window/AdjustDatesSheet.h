#pragma once

#include "MetaloomFeature/Library/Dates/DateAdjustment.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace Metaloom {

class LibraryViewModel;

// "Adjust Dates…": how to move or set the dates of the request's files,
// which dates, their zone and how videos keep QuickTime's dates, with a
// table of every date before and after that follows each change of the
// controls. Apply hands the adjustment to the library, which runs it.
class AdjustDatesSheet : public QDialog {
    Q_OBJECT

public:
    AdjustDatesSheet(LibraryViewModel *library, const AdjustDatesRequest &request,
                     QWidget *parent = nullptr);

    // What the controls ask now.
    DateAdjustment adjustment() const;
    QTableWidget *previewTable() const { return m_table; }

private:
    QWidget *makeAmountControls();
    QWidget *makeOptionControls();
    void controlsChanged();
    void askForPreview();
    void showPreview();
    // The shift the clock photo gives: its capture date against the time
    // the user read on the clock; nothing while its capture date is not known.
    std::optional<DateShift> clockShift() const;

    QPointer<LibraryViewModel> m_library;
    AdjustDatesRequest m_request;
    QRadioButton *m_shiftMode = nullptr;
    QRadioButton *m_setMode = nullptr;
    QRadioButton *m_clockMode = nullptr;
    QComboBox *m_sign = nullptr;
    QSpinBox *m_days = nullptr;
    QSpinBox *m_hours = nullptr;
    QSpinBox *m_minutes = nullptr;
    QSpinBox *m_seconds = nullptr;
    QDateTimeEdit *m_setTo = nullptr;
    QComboBox *m_clockPhoto = nullptr;
    QDateTimeEdit *m_clockTime = nullptr;
    QLabel *m_clockResult = nullptr;
    QCheckBox *m_capture = nullptr;
    QCheckBox *m_modification = nullptr;
    QCheckBox *m_fileDate = nullptr;
    QComboBox *m_zone = nullptr;
    QLineEdit *m_zoneOffset = nullptr;
    QComboBox *m_quickTime = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_note = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QTimer *m_previewDelay = nullptr;
    // The capture dates the last preview found, by file.
    QHash<QUuid, ExifDateTime> m_captureDates;
};

} // namespace Metaloom
