#include "options/TicketPreviewPage.h"

#include "model/MessageBoxService.h"
#include "model/SettingsRecord.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TicketPreviewPage::TicketPreviewPage(OptionsContext& context)
    : OptionsPage(QStringLiteral("整理券プレビュー"), context) {
    auto* v = new QVBoxLayout(this);
    usePreview = new QCheckBox(QStringLiteral("整理券プレビュー機能を使用する"));
    v->addWidget(usePreview);

    pluginFrame = new QGroupBox(QStringLiteral("整理券プラグイン設定"));
    auto* p = new QGridLayout(pluginFrame);
    p->addWidget(wrapLabel(QStringLiteral("整理券プラグイン（整理券プレビューを使用しない場合は、"
                                          "何も入れないでください）：")),
                 0, 0, 1, 3);
    pluginFile = new QLineEdit;
    pluginFile->setMaxLength(1 << 20);
    choosePlugin = dotsButton();
    clearPlugin = new QPushButton(QStringLiteral("×"));
    clearPlugin->setFixedWidth(28);
    clearPlugin->setToolTip(QStringLiteral("プラグインの指定を解除"));
    p->addWidget(pluginFile, 1, 0);
    p->addWidget(choosePlugin, 1, 1);
    p->addWidget(clearPlugin, 1, 2);
    p->addWidget(new QLabel(QStringLiteral("上記プラグインのプロパティ：")), 2, 0, 1, 3);
    pluginProperties = new QListWidget;
    pluginProperties->setMinimumHeight(90);
    p->addWidget(pluginProperties, 3, 0, 1, 3);
    p->addWidget(new QLabel(QStringLiteral("上記プラグインの特記事項：")), 4, 0, 1, 3);
    pluginRemarks = new QPlainTextEdit;
    pluginRemarks->setReadOnly(true);
    pluginRemarks->setMaximumHeight(60);
    p->addWidget(pluginRemarks, 5, 0, 1, 3);
    p->setColumnStretch(0, 1);
    v->addWidget(pluginFrame);

    dateFrame = new QGroupBox(
        QStringLiteral("日付の設定（整理券プラグインが日付の印字をサポートしているときに有効）"));
    auto* d = new QGridLayout(dateFrame);
    dateEachPrint = new QRadioButton(
        QStringLiteral("システムの日付を使用（整理券印字と同時に日付を更新、デフォルト）"));
    dateAtRouteSet =
        new QRadioButton(QStringLiteral("システムの日付を使用（系統設定した時点の日付を保持）"));
    dateFixed = new QRadioButton(QStringLiteral("右記の日付に固定"));
    fixedDate = new QLabel;
    chooseDate = new QPushButton(QStringLiteral("日付選択..."));
    d->addWidget(dateEachPrint, 0, 0, 1, 3);
    d->addWidget(dateAtRouteSet, 1, 0, 1, 3);
    auto* note = wrapLabel(QStringLiteral("系統設定した際の日付が保持され、日付が途中で変わっても次回"
                                          "系統設定するまで整理券の日付変更を行いません。"));
    note->setContentsMargins(20, 0, 0, 0);
    d->addWidget(note, 2, 0, 1, 3);
    d->addWidget(dateFixed, 3, 0);
    d->addWidget(fixedDate, 3, 1);
    d->addWidget(chooseDate, 3, 2);
    d->setColumnStretch(1, 1);
    v->addWidget(dateFrame);
    v->addStretch();
    dateEachPrint->setChecked(true);

    connect(usePreview, &QCheckBox::stateChanged, this, &TicketPreviewPage::applyEnablingRules);
    connect(choosePlugin, &QPushButton::clicked, this, [this] {
        const QString path = chooseFile(QStringLiteral("整理券プラグイン(*.4SP)"),
                                        QStringLiteral("プラグインの選択"));
        if (path.isEmpty()) return; // cancelled: nothing changes
        if (showPlugin(path)) {
            pluginFile->setText(path);
            context_.pluginChoices.append(path);
        } else if (context_.messages) {
            // The plug-in chosen before stays whole, its companies too.
            context_.messages->show(
                QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"),
                QStringLiteral("プラグインロードエラー"), MsgIcon::Critical, MsgButtons::Ok);
        }
    });
    connect(clearPlugin, &QPushButton::clicked, this, [this] {
        pluginFile->clear();
        pluginProperties->clear();
        pluginRemarks->clear();
    });
    connect(chooseDate, &QPushButton::clicked, this, [this] {
        const std::optional<QDate> date =
            context_.dialogs ? context_.dialogs->chooseDate(this) : std::nullopt;
        if (!date) return;
        fixedDate->setText(QStringLiteral("%1/%2/%3")
                               .arg(date->year())
                               .arg(date->month(), 2, 10, QChar(u'0'))
                               .arg(date->day(), 2, 10, QChar(u'0')));
    });
    bind("UseSeiriPrev", usePreview);
    bind("SeiriPlgFile", pluginFile);
    bindGroup("DateEachPrint", {dateEachPrint, dateAtRouteSet, dateFixed});
    bind("FixedDate", fixedDate);
    applyEnablingRules();
}

void TicketPreviewPage::loaded(const SettingsRecord& r) {
    pluginProperties->clear();
    pluginRemarks->clear();
    showPlugin(r.ticketPlugin);
}

void TicketPreviewPage::applyEnablingRules() {
    const bool on = usePreview->isChecked();
    for (QGroupBox* f : {pluginFrame, dateFrame}) {
        f->setEnabled(on);
        f->setVisible(on);
    }
}

QStringList TicketPreviewPage::propertyLines(const TicketPluginInfo& info) {
    const auto can = [](qint32 f) {
        return f == 1 ? QStringLiteral("---> 可能") : QStringLiteral("---> 不可");
    };
    QStringList lines{QStringLiteral("日付の印字 ") + can(info[3]),
                      QStringLiteral("時刻の印字 ") + can(info[4]),
                      QStringLiteral("系統番号の印字 ") + can(info[5]),
                      QStringLiteral("停名の印字 ") + can(info[6]),
                      QStringLiteral("バーコード印字 ") + can(info[7])};
    if (info[7] == 1) {
        lines << QStringLiteral("バーコード本数 ---> ") + QString::number(info[8])
              << QStringLiteral("バーコード系統方式 ") +
                     (info[10] == 1 ? QStringLiteral("---> 連番式")
                                    : QStringLiteral("---> 系統番号＋往復フラグ"))
              << QStringLiteral("設定可能な系統範囲 ---> 1 ～ ") + QString::number(info[9])
              << QStringLiteral("停留所認識範囲 ---> ") + QString::number(info[11]) +
                     QStringLiteral(" ～ ") + QString::number(info[12]);
    }
    lines << QStringLiteral("社名切り替え:") +
                 (info[13] >= 1 ? QStringLiteral("---> 可能") : QStringLiteral("---> 不可"));
    return lines;
}

bool TicketPreviewPage::showPlugin(const QString& path) {
    TicketPluginInfo info{};
    if (path.isEmpty() || !context_.tickets || !context_.tickets->pluginInfo(path, info))
        return false;
    pluginRemarks->setPlainText(context_.tickets->remarks(path));
    pluginProperties->clear();
    pluginProperties->addItems(propertyLines(info));
    return true;
}

