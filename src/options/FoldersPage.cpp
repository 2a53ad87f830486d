#include "options/FoldersPage.h"

#include "model/AppInfo.h"
#include "model/MessageBoxService.h"
#include "model/SettingsRecord.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FoldersPage::FoldersPage(OptionsContext& context)
    : OptionsPage(QStringLiteral("運賃データと放送用データ"), context) {
    auto* v = new QVBoxLayout(this);
    struct Row {
        const char16_t* label;
        const char16_t* open;
        PathRow* row;
        QPushButton** openButton;
    };
    const Row rows[2] = {
        {u"運賃データ(*.hy3)のあるフォルダー：", u"上記運賃データの場所をエクスプローラで開く",
         &fareFolder, &openFareFolder},
        {u"放送用データ(*****Tp.csv)のあるフォルダー：",
         u"上記放送用データの場所をエクスプローラで開く", &tapeFolder, &openTapeFolder}};
    for (const Row& r : rows) {
        *r.row = pathRow([this] { return chooseFolder(); });
        *r.openButton = new QPushButton(QString::fromUtf16(r.open));
        auto* line = new QHBoxLayout;
        line->addWidget(r.row->path, 1);
        line->addWidget(r.row->choose);
        auto* open = new QHBoxLayout;
        open->addStretch();
        open->addWidget(*r.openButton);
        v->addWidget(new QLabel(QString::fromUtf16(r.label)));
        v->addLayout(line);
        v->addLayout(open);
        v->addSpacing(12);
        QLineEdit* box = r.row->path;
        connect(*r.openButton, &QPushButton::clicked, this, [this, box] { openFolder(box->text()); });
    }
    v->addStretch();
    bind("FareDataDir", fareFolder.path);
    bind("TapeDataDir", tapeFolder.path);
}

void FoldersPage::openFolder(const QString& path) {
    if (!context_.openFolder || context_.openFolder(path)) return;
    // A folder that does not exist fails in silence; one that does and still
    // does not open wants a file manager.
    if (path.isEmpty() || !QFileInfo(path).isDir() || !context_.messages) return;
    context_.messages->show(QStringLiteral("フォルダーを開けませんでした。\r\n%1\r\n\r\n"
                                           "フォルダーを開くファイルマネージャーが入っていないか、"
                                           "設定されていないようです。")
                                .arg(path),
                            AppInfo::title(), MsgIcon::Exclamation, MsgButtons::Ok);
}

