#include "options/OptionsPage.h"

#include "model/AppInfo.h"
#include "model/Cp932.h"
#include "model/MessageBoxService.h"
#include "options/ColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

OptionsPage::OptionsPage(const QString& caption, OptionsContext& context, QWidget* parent)
    : QGroupBox(caption, parent), context_(context) {}

QLabel* OptionsPage::wrapLabel(const QString& text) {
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    return l;
}

namespace {
// Clicks a button when the label it watches is clicked.
class ClickForwarder : public QObject {
public:
    ClickForwarder(QLabel* label, QAbstractButton* button) : QObject(label), button_(button) {
        label->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && button_->isEnabled())
            button_->click();
        return false;
    }

private:
    QAbstractButton* button_;
};
} // namespace

QLabel* OptionsPage::captionOf(QAbstractButton* button, const QString& text) {
    QLabel* label = wrapLabel(text);
    new ClickForwarder(label, button);
    return label;
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
    // What is typed or pasted is held to what the settings file can keep, as
    // what is chosen is: a character CP932 lacks is refused and named, and
    // the box goes back to its text before.
    auto kept = std::make_shared<QString>();
    connect(box, &QLineEdit::textChanged, this, [kept](const QString& text) {
        if (Cp932::encodeStrict(text)) *kept = text;
    });
    connect(box, &QLineEdit::textEdited, this, [this, box, kept](const QString& text) {
        if (Cp932::encodeStrict(text)) return;
        box->setText(*kept);
        storable(text);
    });
    return row;
}

QString OptionsPage::chooseFile(const QString& filter, const QString& title) {
    return storable(context_.dialogs ? context_.dialogs->chooseFile(this, filter, title)
                                     : QString());
}

QString OptionsPage::chooseFolder() {
    return storable(context_.dialogs ? context_.dialogs->chooseFolder(
                                           this, QStringLiteral("フォルダーを選択してください"))
                                     : QString());
}

QString OptionsPage::storable(const QString& path) {
    qsizetype bad = -1;
    if (path.isEmpty() || Cp932::encodeStrict(path, &bad)) return path;
    // The settings file keeps paths in CP932: one it cannot hold is refused
    // now rather than saved with "?" in it.
    const QString character = path.mid(bad, path[bad].isHighSurrogate() ? 2 : 1);
    if (context_.messages)
        context_.messages->show(
            QStringLiteral("選んだ場所の名前には、設定ファイルに保存できない文字「%1」が"
                           "含まれています。\r\n%2\r\n\r\n名前を変えるか、別の場所を"
                           "選んでください。")
                .arg(character, path),
            AppInfo::title(), MsgIcon::Exclamation, MsgButtons::Ok);
    return {};
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
    if (value != 0) {
        button->setChecked(true);
    } else if (button->isChecked()) {
        // A group with no button chosen shows none: an exclusive button can
        // be unchecked only while it is not exclusive.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

qint16 OptionsPage::flag(const QRadioButton* button) { return button->isChecked() ? -1 : 0; }

void OptionsPage::setPosition(QComboBox* list, qint16 value) { list->setCurrentIndex(value); }

qint16 OptionsPage::position(const QComboBox* list) {
    return static_cast<qint16>(list->currentIndex());
}
