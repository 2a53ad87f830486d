#include "widgets/QtCompanionDialogs.h"

#include "model/Clock.h"
#include "widgets/DigitSettingsDialog.h"
#include "widgets/QColorOf.h"

#include <QCalendarWidget>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QDialogButtonBox* QtCompanionDialogs::okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

bool QtCompanionDialogs::editDigitOptions(QWidget* owner, qint16 digitCount,
                                          DigitOptions& options) {
    DigitSettingsDialog dialog(owner, digitCount, options);
    if (dialog.exec() != QDialog::Accepted) return false;
    options = dialog.options();
    return true;
}

void QtCompanionDialogs::showVersion(QWidget* owner, const QString& text) {
    QDialog box(owner);
    box.setWindowTitle(QStringLiteral("バージョン情報"));
    auto* layout = new QVBoxLayout(&box);
    auto* label = new QLabel(text, &box);
    label->setObjectName(QStringLiteral("text"));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    box.exec();
}

std::optional<QDate> QtCompanionDialogs::chooseDate(QWidget* owner) {
    QDialog chooser(owner);
    chooser.setWindowTitle(QStringLiteral("日付の選択"));
    auto* layout = new QVBoxLayout(&chooser);
    auto* calendar = new QCalendarWidget(&chooser);
    calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setSelectedDate(today());
    layout->addWidget(calendar);
    layout->addWidget(okCancel(&chooser));
    QObject::connect(calendar, &QCalendarWidget::activated, &chooser, &QDialog::accept);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return calendar->selectedDate();
}

QString QtCompanionDialogs::chooseFile(QWidget* owner, const QString& filter,
                                       const QString& title) {
    QFileDialog dialog(owner, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!filter.isEmpty()) dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

QString QtCompanionDialogs::chooseFolder(QWidget* owner, const QString& prompt) {
    QFileDialog dialog(owner, prompt);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

bool QtCompanionDialogs::chooseColor(QWidget* owner, BgrColor& color,
                                     CustomColorTable& customColors) {
    const QList<QColor> custom = customColorsFromTable(customColors);
    for (int i = 0; i < custom.size(); ++i) QColorDialog::setCustomColor(i, custom[i]);
    QColorDialog dialog(toQColor(color), owner);
    dialog.setWindowTitle(QStringLiteral("色の選択"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The custom colours the user edited are kept, chosen or not.
    QList<QColor> edited;
    for (int i = 0; i < QColorDialog::customCount() && i < 16; ++i)
        edited << QColorDialog::customColor(i);
    customColorsToTable(edited, customColors);
    if (!accepted) return false;
    color = fromQColor(dialog.selectedColor());
    return true;
}

QList<QColor> QtCompanionDialogs::customColorsFromTable(const CustomColorTable& table) {
    QList<QColor> out;
    for (int i = 0; i < 16; ++i) out << toQColor(table[size_t(i)]);
    return out;
}

void QtCompanionDialogs::customColorsToTable(const QList<QColor>& colors,
                                             CustomColorTable& table) {
    for (int i = 0; i < 16 && i < colors.size(); ++i)
        table[size_t(i)] = fromQColor(colors[i]);
}

QDate QtCompanionDialogs::today() const {
    return clock_ ? clock_->now().date() : QDate::currentDate();
}
