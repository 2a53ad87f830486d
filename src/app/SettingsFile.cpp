#include "app/SettingsFile.h"

#include "app/K40Windows.h"
#include "console/ConsoleWindow.h"
#include "widgets/StopNameDisplay.h"
#include "widgets/SegmentDisplay.h"
#include "board/BoardWindow.h"
#include "model/AppInfo.h"
#include "model/K40Error.h"
#include "model/MessageBoxService.h"
#include "app/Services.h"
#include "model/SettingsRecord.h"
#include "options/OptionsDialog.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SettingsFile {

namespace {

void errorBox(K40Windows& host, const K40Error& e) {
    host.services().messages->show(QStringLiteral("エラー Code:%1\r\n内容:").arg(e.number()) +
                                       e.description(),
                                   AppInfo::title(), MsgIcon::None, MsgButtons::Ok);
}

} // namespace

QString settingsPath() {
    QString dir = AppInfo::executableDir();
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir + AppInfo::modelName() + QStringLiteral(".in4");
}

void SaveSettings(K40Windows& host) {
    try {
        SettingsRecord r;
        BoardWindow& panel = host.panel();
        for (int i = 1; i <= 24; ++i) {
            const SegmentDisplay* d = panel.Degit[size_t(i)];
            r.DegitCellSettings[size_t(i - 1)] = {d->shift(), d->zeroMode(), d->fillZero()};
        }
        host.options().GetOptionInfo(r);
        host.console().GetCtrlDataInfo(r);
        panel.GetFormInfo(r);
        r.CustomColors = host.options().CustomColors;

        const QByteArray bytes = SettingsCodec::encode(r);
        QSaveFile file(settingsPath());
        if (!file.open(QIODevice::WriteOnly))
            throw K40Error(QFileInfo(QFileInfo(settingsPath()).path()).isDir()
                               ? K40Error::PathFileAccessError
                               : K40Error::PathNotFound);
        if (file.write(bytes) != bytes.size() || !file.commit())
            throw K40Error(K40Error::DeviceIoError);
    } catch (const K40Error& e) {
        errorBox(host, e);
    }
}

void LoadSettings(K40Windows& host) {
    try {
        QFile file(settingsPath());
        if (!file.open(QIODevice::ReadOnly)) {
            if (!QFileInfo::exists(settingsPath())) return; // first start: nothing to apply
            throw K40Error(K40Error::PathFileAccessError);
        }
        const QByteArray bytes = file.readAll();
        file.close();
        SettingsRecord r;
        SettingsCodec::decode(bytes, r);
        host.options().CustomColors = r.CustomColors;

        BoardWindow& panel = host.panel();
        auto colour = [&r](SegmentDisplay* d) {
            d->setBackColor(static_cast<BgrColor>(r.DegitBackColor));
            d->setUnlitColor(static_cast<BgrColor>(r.DegitBaseForeColor));
            d->setLitColor(static_cast<BgrColor>(r.DegitForeColor));
        };
        for (int i = 1; i <= 24; ++i) {
            SegmentDisplay* d = panel.Degit[size_t(i)];
            const DigitCellSetting& c = r.DegitCellSettings[size_t(i - 1)];
            d->setZeroMode(c.ZeroMode);
            d->setShift(c.Shift);
            d->setFillZero(c.FillZero);
            colour(d);
            d->setValue(DigitValue(QStringLiteral(" ")));
        }
        for (SegmentDisplay* d : panel.TimeDegit) colour(d);

        StopNameDisplay& strip = *panel.ChimeiCtl;
        strip.setBackColor(static_cast<BgrColor>(r.ChimeiBackColor));
        strip.setDotColor(static_cast<BgrColor>(r.ChimeiForeColor));
        strip.setPrefixMode(r.ChimeiTsugiwaMode);
        strip.setPrefixColor(static_cast<BgrColor>(r.ChimeiTsugiwaColor));
        strip.setPrefixBold(r.ChimeiTsugiwaBold != 0);
        strip.setPrefixFontMode(r.ChimeiTsugiwaFontMode);

        host.options().SetOptionInfo(r);
        host.console().SetCtrlDataInfo(r);
        panel.SetFormInfo(r);
        host.options().SetProp();
    } catch (const K40Error& e) {
        if (e.number() == K40Error::BadFileName || e.number() == K40Error::FileNotFound) return;
        errorBox(host, e);
    }
}

} // namespace SettingsFile
