#include "platform/QtCompanionDialogs.h"

#include "platform/OleColor.h"
#include "platform/Services.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// OK and Cancel with Japanese captions.
QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// The digit setting dialog: the digit count, the zero mode, the shift and the
// zero-fill width.
class DigitSettingDialog : public QDialog {
public:
    DigitSettingDialog(QWidget* owner, qint16 keta, qint16 zeroMode, qint16 shift, qint16 fillZero)
        : QDialog(owner), givenZeroMode_(zeroMode) {
        setWindowTitle(QStringLiteral("数字表示の設定"));
        auto* layout = new QVBoxLayout(this);

        auto* ketaLabel = new QLabel(QStringLiteral("桁数：%1").arg(keta), this);
        ketaLabel->setObjectName(QStringLiteral("keta"));
        layout->addWidget(ketaLabel);

        auto* zeroBox = new QGroupBox(QStringLiteral("ゼロの表示"), this);
        auto* zeroLayout = new QVBoxLayout(zeroBox);
        const QStringList texts = QtCompanionDialogs::zeroModeDescriptions();
        for (int mode = 0; mode < texts.size(); ++mode) {
            auto* button = new QRadioButton(texts[mode], zeroBox);
            button->setObjectName(QStringLiteral("zeroMode%1").arg(mode));
            zeroModes_.addButton(button, mode);
            zeroLayout->addWidget(button);
            // A mode outside the four leaves every button unchosen; it is
            // handed back as it came unless the user chooses one.
            if (mode == zeroMode) button->setChecked(true);
        }
        layout->addWidget(zeroBox);

        const int maxShift = qMax(0, keta - 1);
        const int maxFill = qMax(0, static_cast<int>(keta));
        auto* form = new QFormLayout;
        shift_ = new QSpinBox(this);
        shift_->setObjectName(QStringLiteral("shift"));
        shift_->setRange(0, maxShift);
        shift_->setValue(qBound(0, static_cast<int>(shift), maxShift));
        shift_->setSuffix(QStringLiteral(" 桁"));
        form->addRow(QStringLiteral("桁ずらし（右に空ける桁数）："), shift_);
        fillZero_ = new QSpinBox(this);
        fillZero_->setObjectName(QStringLiteral("fillZero"));
        fillZero_->setRange(0, maxFill);
        fillZero_->setValue(qBound(0, static_cast<int>(fillZero), maxFill));
        fillZero_->setSpecialValueText(QStringLiteral("しない"));
        fillZero_->setSuffix(QStringLiteral(" 桁"));
        form->addRow(QStringLiteral("ゼロ埋めの桁数："), fillZero_);
        layout->addLayout(form);

        layout->addWidget(okCancel(this));
    }

    qint16 zeroMode() const {
        const int chosen = zeroModes_.checkedId();
        return chosen < 0 ? givenZeroMode_ : static_cast<qint16>(chosen);
    }
    qint16 shift() const { return static_cast<qint16>(shift_->value()); }
    qint16 fillZero() const { return static_cast<qint16>(fillZero_->value()); }

private:
    qint16 givenZeroMode_;
    QButtonGroup zeroModes_;
    QSpinBox* shift_ = nullptr;
    QSpinBox* fillZero_ = nullptr;
};

} // namespace

QStringList QtCompanionDialogs::zeroModeDescriptions() {
    return {
        QStringLiteral("0：値が 0 または空欄のときは何も表示しない"),
        QStringLiteral("1：値が 0 または空欄のときは 0 を表示する"),
        QStringLiteral("2：値が -1 のときは 0 を表示し、0 のときは何も表示しない"),
        QStringLiteral("3：値が -1、0 または空欄のときは 0 を表示する"),
    };
}

qint32 QtCompanionDialogs::Call_dlg100(QWidget* owner, qint16 keta, qint16& zeroMode, qint16& shift,
                                       qint16& fillZero) {
    DigitSettingDialog dialog(owner, keta, zeroMode, shift, fillZero);
    if (dialog.exec() != QDialog::Accepted) return 0;
    zeroMode = dialog.zeroMode();
    shift = dialog.shift();
    fillZero = dialog.fillZero();
    return 1;
}

qint32 QtCompanionDialogs::Call_dlg110(QWidget* owner, qint32, const QString& text) {
    QDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("バージョン情報"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(text, &dialog);
    label->setObjectName(QStringLiteral("text"));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
    return 1;
}

qint32 QtCompanionDialogs::Call_dlg111(QWidget* owner, SystemTime& date) {
    QDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("日付の選択"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* calendar = new QCalendarWidget(&dialog);
    calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setSelectedDate(dateOfSystemTime(date, today()));
    layout->addWidget(calendar);
    layout->addWidget(okCancel(&dialog));
    QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted) return 0;
    fillSystemTime(date, calendar->selectedDate());
    return 1;
}

QString QtCompanionDialogs::Kt3FileDlg(QWidget* owner, qint32, const QString& filter,
                                       const QString& fileName, const QString& title) {
    QFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QString filters = qtNameFilters(filter);
    if (!filters.isEmpty()) dialog.setNameFilter(filters);
    if (!fileName.isEmpty()) {
        const QFileInfo info(QDir::fromNativeSeparators(fileName));
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

QString QtCompanionDialogs::Kt3FolderDlg(QWidget* owner, const QString& prompt) {
    QFileDialog dialog(owner, prompt);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

qint32 QtCompanionDialogs::Kt3ChooseColor(QWidget* owner, qint32& colour,
                                          CustomColorTable& customColors) {
    const QList<QColor> custom = customColorsFromTable(customColors);
    for (int i = 0; i < custom.size(); ++i)
        QColorDialog::setCustomColor(i, custom[i]);
    QColorDialog dialog(toQColor(static_cast<OleColor>(colour)), owner);
    dialog.setWindowTitle(QStringLiteral("色の選択"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The custom colours the user edited are kept, chosen or not.
    QList<QColor> edited;
    for (int i = 0; i < QColorDialog::customCount() && i < 16; ++i)
        edited << QColorDialog::customColor(i);
    customColorsToTable(edited, customColors);
    if (!accepted) return 0;
    colour = static_cast<qint32>(fromQColor(dialog.selectedColor()));
    return 1;
}

QString QtCompanionDialogs::qtNameFilters(const QString& filter) {
    QStringList parts = filter.split(QChar(u'\0'));
    QStringList out;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i];
        QString pattern = i + 1 < parts.size() ? parts[i + 1] : QString();
        if (description.isEmpty() && pattern.isEmpty()) break; // the closing NUL
        QStringList patterns;
        for (const QString& p : pattern.split(u';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            if (!t.isEmpty()) patterns << t;
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        const QString joined = patterns.join(u' ');
        out << (description.isEmpty() ? joined : description) + QStringLiteral(" (") + joined +
                   u')';
    }
    return out.join(QStringLiteral(";;"));
}

QList<QColor> QtCompanionDialogs::customColorsFromTable(const CustomColorTable& table) {
    QList<QColor> out;
    for (int i = 0; i < 16; ++i)
        out << toQColor(static_cast<OleColor>(table[i]));
    return out;
}

void QtCompanionDialogs::customColorsToTable(const QList<QColor>& colours,
                                             CustomColorTable& table) {
    for (int i = 0; i < 16 && i < colours.size(); ++i)
        table[i] = static_cast<qint32>(fromQColor(colours[i]));
}

void QtCompanionDialogs::fillSystemTime(SystemTime& record, const QDate& date) {
    record.wYear = static_cast<qint16>(date.year());
    record.wMonth = static_cast<qint16>(date.month());
    record.wDay = static_cast<qint16>(date.day());
    record.wDayOfWeek = static_cast<qint16>(date.dayOfWeek() % 7); // Sunday 0 ... Saturday 6
}

QDate QtCompanionDialogs::dateOfSystemTime(const SystemTime& record, const QDate& today) {
    const QDate held(record.wYear, record.wMonth, record.wDay);
    return held.isValid() && record.wYear > 0 ? held : today;
}

QDate QtCompanionDialogs::today() const {
    return clock_ ? clock_->now().date() : QDate::currentDate();
}
