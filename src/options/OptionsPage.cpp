#include "options/OptionsPage.h"

#include "options/ColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

OptionsPage::OptionsPage(const QString& caption, OptionsContext& context, QWidget* parent)
    : QGroupBox(caption, parent), context_(context) {}

QLabel* OptionsPage::wrapLabel(const QString& text) {
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    return l;
}

QPushButton* OptionsPage::dotsButton() {
    auto* b = new QPushButton(QStringLiteral("..."));
    b->setFixedWidth(32);
    return b;
}

QComboBox* OptionsPage::dropDown(const QStringList& entries) {
    auto* c = new QComboBox;
    c->setEditable(false);
    c->addItems(entries);
    c->setCurrentIndex(-1);
    return c;
}

ColorButton* OptionsPage::colorButton(std::function<void()> then) {
    auto* b = new ColorButton;
    connect(b, &QPushButton::clicked, this, [this, b, then] {
        BgrColor color = b->backColor();
        if (context_.dialogs && context_.customColors &&
            context_.dialogs->chooseColor(this, color, *context_.customColors)) {
            b->setBackColor(color);
            if (then) then();
        }
    });
    return b;
}

OptionsPage::PathRow OptionsPage::pathRow(std::function<QString()> chooser) {
    PathRow row{new QLineEdit, dotsButton()};
    // Paths of any length; the settings file decides what it can store.
    row.path->setMaxLength(1 << 20);
    QLineEdit* box = row.path;
    connect(row.choose, &QPushButton::clicked, this, [box, chooser] {
        const QString chosen = chooser();
        if (!chosen.isEmpty()) box->setText(chosen);
    });
    return row;
}

QString OptionsPage::chooseFile(const QString& filter, const QString& title) {
    return context_.dialogs ? context_.dialogs->chooseFile(this, filter, title) : QString();
}

void OptionsPage::setCheck(QCheckBox* box, qint16 value) {
    box->setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

qint16 OptionsPage::check(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    default: return 2;
    }
}

void OptionsPage::setFlag(QRadioButton* button, qint16 value) {
    if (value != 0) button->setChecked(true);
}

qint16 OptionsPage::flag(const QRadioButton* button) { return button->isChecked() ? -1 : 0; }

void OptionsPage::setPosition(QComboBox* list, qint16 value) { list->setCurrentIndex(value); }

qint16 OptionsPage::position(const QComboBox* list) {
    return static_cast<qint16>(list->currentIndex());
}
