#include "options/OptionsPage.h"

#include "model/AppInfo.h"
#include "model/Cp932.h"
#include "model/MessageBoxService.h"
#include "model/SettingsRecord.h"
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

void OptionsPage::bind(const char* field, QWidget* control) {
    controls_.insert(QString::fromLatin1(field), control);
}

void OptionsPage::bindGroup(const char* firstField, const QList<QRadioButton*>& buttons) {
    groups_.insert(QString::fromLatin1(firstField), buttons);
}

void OptionsPage::setChosen(const QList<QRadioButton*>& buttons, int chosen) {
    for (int i = 0; i < buttons.size(); ++i) {
        QRadioButton* b = buttons[i];
        if (i == chosen) {
            b->setChecked(true);
        } else if (b->isChecked()) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
    }
}

namespace {

Qt::CheckState shown(Check c) {
    switch (c) {
    case Check::Unchecked: return Qt::Unchecked;
    case Check::Checked: return Qt::Checked;
    case Check::Greyed: break;
    }
    return Qt::PartiallyChecked;
}

Check taken(Qt::CheckState s) {
    switch (s) {
    case Qt::Unchecked: return Check::Unchecked;
    case Qt::Checked: return Check::Checked;
    case Qt::PartiallyChecked: break;
    }
    return Check::Greyed;
}

// The fields no page shows.
struct Untied {
    template <typename... A> void tick(A&&...) {}
    template <typename... A> void onOff(A&&...) {}
    template <typename... A> void nonZero(A&&...) {}
    template <typename... A> void number(A&&...) {}
    template <typename... A> void coordinate(A&&...) {}
    template <typename... A> void cellCount(A&&...) {}
    template <typename... A> void cell(A&&...) {}
};

} // namespace

// Puts the tied fields into their controls.
class PageLoader : public Untied {
public:
    explicit PageLoader(const OptionsPage& page) : page_(page) {}
    template <typename T> T* control(const char* field) const {
        return qobject_cast<T*>(page_.controls_.value(QString::fromLatin1(field)));
    }
    void text(const char* f, int, const QString& t) {
        if (auto* e = control<QLineEdit>(f)) e->setText(t);
        if (auto* l = control<QLabel>(f)) l->setText(t);
    }
    void color(const char* f, int, BgrColor c) {
        if (auto* b = control<ColorButton>(f)) b->setBackColor(c);
    }
    void check(const char* f, int, Check c) {
        if (auto* b = control<QCheckBox>(f)) b->setCheckState(shown(c));
    }
    void position(const char* f, int, const ListPosition& p, int) {
        if (auto* l = control<QComboBox>(f)) l->setCurrentIndex(positionOrNone(p));
    }
    template <typename E>
    void group(std::initializer_list<const char*> names, int, const std::optional<E>& chosen) {
        const auto it = page_.groups_.constFind(QString::fromLatin1(*names.begin()));
        if (it != page_.groups_.constEnd()) OptionsPage::setChosen(*it, chosen ? int(*chosen) : -1);
    }

private:
    const OptionsPage& page_;
};

// Takes the tied fields back from their controls.
class PageStorer : public Untied {
public:
    explicit PageStorer(const OptionsPage& page) : page_(page) {}
    template <typename T> T* control(const char* field) const {
        return qobject_cast<T*>(page_.controls_.value(QString::fromLatin1(field)));
    }
    void text(const char* f, int, QString& t) {
        if (auto* e = control<QLineEdit>(f)) t = e->text();
        if (auto* l = control<QLabel>(f)) t = l->text();
    }
    void color(const char* f, int, BgrColor& c) {
        if (auto* b = control<ColorButton>(f)) c = b->backColor();
    }
    void check(const char* f, int, Check& c) {
        if (auto* b = control<QCheckBox>(f)) c = taken(b->checkState());
    }
    void position(const char* f, int, ListPosition& p, int) {
        if (auto* l = control<QComboBox>(f))
            p = l->currentIndex() < 0 ? std::nullopt : ListPosition(qint16(l->currentIndex()));
    }
    template <typename E>
    void group(std::initializer_list<const char*> names, int, std::optional<E>& chosen) {
        const auto it = page_.groups_.constFind(QString::fromLatin1(*names.begin()));
        if (it == page_.groups_.constEnd()) return;
        chosen.reset();
        for (int i = 0; i < it->size(); ++i)
            if ((*it)[i]->isChecked()) chosen = E(i);
    }

private:
    const OptionsPage& page_;
};

void OptionsPage::load(const SettingsRecord& record) {
    PageLoader loader(*this);
    forEachField(loader, record);
    loaded(record);
}

void OptionsPage::store(SettingsRecord& record) const {
    PageStorer storer(*this);
    forEachField(storer, record);
    stored(record);
}
