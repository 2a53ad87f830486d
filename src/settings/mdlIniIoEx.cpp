#include "settings/mdlIniIoEx.h"

#include "app/K40Windows.h"
#include "console/frmCtl.h"
#include "controls/ChimeiCtl_DX.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "platform/AppInfo.h"
#include "platform/K40Error.h"
#include "platform/Services.h"
#include "settings/SettingsRecord.h"
#include "settings/frmOption.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace mdlIniIoEx {

namespace {

void errorBox(K40Windows& host, const K40Error& e) {
    host.services().messages->show(nullptr,
                                   QStringLiteral("エラー Code:%1\r\n内容:").arg(e.number()) +
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
        Form1& panel = host.panel();
        for (int i = 1; i <= 24; ++i) {
            const M_Degit* d = panel.Degit[size_t(i)];
            r.DegitCells[size_t(i - 1)] = {d->Shift(), d->ZeroMode(), d->FillZero()};
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

        Form1& panel = host.panel();
        auto colour = [&r](M_Degit* d) {
            d->setBackColor(static_cast<OleColor>(r.DegitBackColor));
            d->setBaseForeColor(static_cast<OleColor>(r.DegitBaseForeColor));
            d->setDegitForeColor(static_cast<OleColor>(r.DegitForeColor));
        };
        for (int i = 1; i <= 24; ++i) {
            M_Degit* d = panel.Degit[size_t(i)];
            const DegitCellSetting& c = r.DegitCells[size_t(i - 1)];
            d->setZeroMode(c.ZeroMode);
            d->setShift(c.Shift);
            d->setFillZero(c.FillZero);
            colour(d);
            d->setValue(DegitValue(QStringLiteral(" ")));
        }
        for (M_Degit* d : panel.TimeDegit) colour(d);

        ChimeiCtl_DX& strip = *panel.ChimeiCtl;
        strip.setBackColor(static_cast<OleColor>(r.ChimeiBackColor));
        strip.setForeColor(static_cast<OleColor>(r.ChimeiForeColor));
        strip.setTsugiwaMode(r.ChimeiTsugiwaMode);
        strip.setTsugiwaColor(static_cast<OleColor>(r.ChimeiTsugiwaColor));
        strip.setTsugiwaBold(r.ChimeiTsugiwaBold != 0);
        strip.setTsugiwaFontMode(r.ChimeiTsugiwaFontMode);

        host.options().SetOptionInfo(r);
        host.console().SetCtrlDataInfo(r);
        panel.SetFormInfo(r);
        host.options().SetProp();
    } catch (const K40Error& e) {
        if (e.number() == K40Error::BadFileName || e.number() == K40Error::FileNotFound) return;
        errorBox(host, e);
    }
}

} // namespace mdlIniIoEx
