#include "options/OptionsDialog.h"

#include "model/SettingsRecord.h"
#include "options/DigitsPage.h"
#include "options/FoldersPage.h"
#include "options/PageButton.h"
#include "options/PanelPage.h"
#include "options/SoundsPage.h"
#include "options/StopNamePage.h"
#include "options/TicketPreviewPage.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

OptionsDialog::OptionsDialog(CompanionDialogs* dialogs, TicketEngine* tickets,
                             MessageBoxService* messages, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("オプション"));
    setModal(true);
    context_.dialogs = dialogs;
    context_.tickets = tickets;
    context_.messages = messages;
    setFolderOpener([](const QString& path) {
        return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    });

    auto* outer = new QVBoxLayout(this);
    // The dialog is never smaller than its pages need.
    outer->setSizeConstraint(QLayout::SetMinimumSize);
    auto* body = new QHBoxLayout;
    outer->addLayout(body);

    foldersPage = new FoldersPage(context_);
    panelPage = new PanelPage(context_);
    digitsPage = new DigitsPage(context_);
    stopNamePage = new StopNamePage(context_);
    soundsPage = new SoundsPage(context_);
    ticketPreviewPage = new TicketPreviewPage(context_);

    static const char16_t* const Buttons[6] = {
        u"運賃データと　放送用データ", u"パネルと整理券番号表示", u"デジタル部品と情報用数字",
        u"停名の設定", u"サウンド", u"　　整理券　　　プレビュー"};
    auto* selector = new QVBoxLayout;
    auto* group = new QButtonGroup(this);
    stack_ = new QStackedWidget;
    const std::array<OptionsPage*, 6> all = pages();
    for (int i = 0; i < 6; ++i) {
        pageButtons[size_t(i)] = new PageButton(QString::fromUtf16(Buttons[i]));
        group->addButton(pageButtons[size_t(i)], i);
        selector->addWidget(pageButtons[size_t(i)]);
        stack_->addWidget(all[size_t(i)]);
        connect(pageButtons[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) stack_->setCurrentIndex(i);
        });
    }
    // One column of buttons as wide as the widest caption.
    int width = 0;
    for (QRadioButton* b : pageButtons) width = std::max(width, b->sizeHint().width());
    for (QRadioButton* b : pageButtons) b->setFixedWidth(width);
    selector->addStretch();
    body->addLayout(selector);
    body->addWidget(stack_, 1);

    okButton = new QPushButton(QStringLiteral("OK"));
    okButton->setDefault(true);
    okButton->setFixedWidth(100);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    outer->addLayout(buttons);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    pageButtons[0]->setChecked(true);
}

OptionsDialog::~OptionsDialog() = default;

std::array<OptionsPage*, 6> OptionsDialog::pages() const {
    return {foldersPage, panelPage, digitsPage, stopNamePage, soundsPage, ticketPreviewPage};
}

void OptionsDialog::setFolderOpener(std::function<bool(const QString&)> open) {
    context_.openFolder = std::move(open);
}

void OptionsDialog::showPage(int i) { pageButtons[size_t(i)]->setChecked(true); }

bool OptionsDialog::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    // Rows that appear (the panel pictures of each backlight mode, say) get
    // their room: the dialog grows to what its pages ask for.
    if (event->type() == QEvent::LayoutRequest && isVisible()) {
        const QSize wanted = size().expandedTo(sizeHint());
        if (wanted != size()) resize(wanted);
    }
    return handled;
}

void OptionsDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept(); // no Cancel to press
        return;
    }
    QDialog::keyPressEvent(event);
}

void OptionsDialog::closeEvent(QCloseEvent* event) {
    event->accept();
    accept(); // the edits stay, as with OK
}

void OptionsDialog::edit(SettingsRecord& record) {
    SettingsRecord edited = record;
    context_.customColors = &edited.customColors;
    context_.pluginChoices.clear();
    for (OptionsPage* page : pages()) page->load(edited);
    exec();
    context_.customColors = nullptr;
    for (OptionsPage* page : pages()) page->store(edited);
    record = edited;
}
