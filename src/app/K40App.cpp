#include "app/K40App.h"

#include "console/frmCtl.h"
#include "panel/Form1.h"
#include "panel/mdlK40_000.h"
#include "platform/Typefaces.h"
#include "settings/frmOption.h"
#include "settings/mdlIniIoEx.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

K40App::K40App(const Services& services) : services_(services) {
    Typefaces::registerSubstitutions();
    onEnd = [] { QCoreApplication::exit(0); };
    panel_ = std::make_unique<Form1>(*this);
    options_ = std::make_unique<frmOption>(*this);
    console_ = std::make_unique<frmCtl>(*this);
}

K40App::~K40App() = default;

void K40App::start() {
    mdlK40_000::InitFareCells(*panel_);
    mdlK40_000::InitPanelDefaults(*this);
    console_->show();
    console_->Form_Load();
    console_->raise();
    panel_->move(0, 0);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        console_->move(area.right() + 1 - console_->frameGeometry().width(),
                       area.bottom() + 1 - console_->frameGeometry().height());
    }
    panel_->applyRoundRegion();
    panel_->update();
    mdlIniIoEx::LoadSettings(*this);
    panel_->show();
}

void K40App::saveSettings() { mdlIniIoEx::SaveSettings(*this); }

void K40App::endProgram() {
    ended_ = true;
    options_->hide();
    console_->hide();
    panel_->hide();
    if (onEnd) onEnd();
}
