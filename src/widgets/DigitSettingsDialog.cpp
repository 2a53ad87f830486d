#include "widgets/DigitSettingsDialog.h"

#include "widgets/QtCompanionDialogs.h"

#include <QDialogButtonBox>

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

DigitSettingsDialog::DigitSettingsDialog(QWidget* owner, qint16 digitCount,
                                         const DigitOptions& options)
    : QDialog(owner), givenZeroMode_(options.zeroMode) {
    setWindowTitle(QStringLiteral("数字表示の設定"));
    auto* layout = new QVBoxLayout(this);

    auto* count = new QLabel(QStringLiteral("桁数：%1").arg(digitCount), this);
    count->setObjectName(QStringLiteral("digitCount"));
    layout->addWidget(count);

    auto* zeroBox = new QGroupBox(QStringLiteral("ゼロの表示"), this);
    auto* zeroLayout = new QVBoxLayout(zeroBox);
    const QStringList texts = zeroModeDescriptions();
    for (int mode = 0; mode < texts.size(); ++mode) {
        auto* button = new QRadioButton(texts[mode], zeroBox);
        button->setObjectName(QStringLiteral("zeroMode%1").arg(mode));
        zeroModes_.addButton(button, mode);
        zeroLayout->addWidget(button);
        if (mode == options.zeroMode) button->setChecked(true);
    }
    layout->addWidget(zeroBox);

    const int maxShift = qMax(0, digitCount - 1);
    const int maxFill = qMax(0, static_cast<int>(digitCount));
    auto* form = new QFormLayout;
    shift_ = new QSpinBox(this);
    shift_->setObjectName(QStringLiteral("shift"));
    shift_->setRange(0, maxShift);
    shift_->setValue(qBound(0, static_cast<int>(options.shift), maxShift));
    shift_->setSuffix(QStringLiteral(" 桁"));
    form->addRow(QStringLiteral("桁ずらし（右に空ける桁数）："), shift_);
    fillZero_ = new QSpinBox(this);
    fillZero_->setObjectName(QStringLiteral("fillZero"));
    fillZero_->setRange(0, maxFill);
    fillZero_->setValue(qBound(0, static_cast<int>(options.fillZero), maxFill));
    fillZero_->setSpecialValueText(QStringLiteral("しない"));
    fillZero_->setSuffix(QStringLiteral(" 桁"));
    form->addRow(QStringLiteral("ゼロ埋めの桁数："), fillZero_);
    layout->addLayout(form);

    layout->addWidget(QtCompanionDialogs::okCancel(this));
}

DigitOptions DigitSettingsDialog::options() const {
    const int chosen = zeroModes_.checkedId();
    return {chosen < 0 ? givenZeroMode_ : static_cast<qint16>(chosen),
            static_cast<qint16>(shift_->value()), static_cast<qint16>(fillZero_->value())};
}

QStringList DigitSettingsDialog::zeroModeDescriptions() {
    return {
        QStringLiteral("0：値が 0 または空欄のときは何も表示しない"),
        QStringLiteral("1：値が 0 または空欄のときは 0 を表示する"),
        QStringLiteral("2：値が -1 のときは 0 を表示し、0 のときは何も表示しない"),
        QStringLiteral("3：値が -1、0 または空欄のときは 0 を表示する"),
    };
}
