#include "board/BoardStartup.h"

#include "app/K40Windows.h"
#include "console/ConsoleWindow.h"
#include "widgets/SegmentDisplay.h"
#include "board/BoardWindow.h"
#include "model/TicketNumberLayout.h"
#include "model/K40Error.h"
#include "model/MessageBoxService.h"
#include "widgets/Units.h"
#include "options/ColorButton.h"
#include "options/OptionsDialog.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>

namespace BoardStartup {

void InitFareCells(BoardWindow& panel) {
    for (int i = 1; i <= 24; ++i) panel.Degit[size_t(i)]->setValue(DigitValue(0));
}

void InitPanelDefaults(K40Windows& host) {
    OptionsDialog& options = host.options();
    BoardWindow& panel = host.panel();
    options.Check1->setChecked(true);
    options.Command5[0]->setBackColor(0x00FFFFFF);
    options.Command5[1]->setBackColor(0x00C0FFC0);
    options.Command5[2]->setBackColor(0x00C0FFC0);
    panel.setPicture(panel.imgRes[0]);
    panel.imgRes[1] = panel.imgRes[0];
    panel.imgRes[2] = panel.imgRes[0];
    options.SetProp();
}

QString seirikenErrorText(int number, const QString& description) {
    return QStringLiteral("エラーです！\r\n\r\nコード：%1\r\n\r\n内容：").arg(number) + description +
           QStringLiteral("\r\n\r\nモジュール：IniIO-SeirikenNumSet( )");
}

void SeirikenNumSet(BoardWindow& panel, qint16 layout, qint16 zeroPad, MessageBoxService& messages) {
    try {
        const TicketNumberLayout::Layout l = TicketNumberLayout::compute(layout, zeroPad);
        QLabel* first = panel.lblSeiriNum[1];
        QFont f = first->font();
        f.setFamily(QStringLiteral("ＭＳ Ｐゴシック"));
        for (int i = 1; i <= 24; ++i)
            if (l.caption[size_t(i)]) panel.lblSeiriNum[size_t(i)]->setText(*l.caption[size_t(i)]);
        f.setPixelSize(Units::font(f.family(), l.label1PointSize).pixelSize());
        first->setFont(f);
    } catch (const K40Error& e) {
        messages.show(seirikenErrorText(e.number(), e.description()),
                      QStringLiteral("エラー！"), MsgIcon::Critical, MsgButtons::Ok);
    }
}

void setLabelColour(QLabel& label, BgrColor colour) {
    QPalette p = label.palette();
    p.setColor(QPalette::WindowText, toQColor(colour));
    label.setPalette(p);
}

BgrColor labelColour(const QLabel& label) {
    return fromQColor(label.palette().color(QPalette::WindowText));
}

} // namespace BoardStartup

namespace ApiLib {
bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isFile();
}
} // namespace ApiLib
