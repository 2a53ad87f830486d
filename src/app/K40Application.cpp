#include "app/K40Application.h"

#include "console/ConsoleWindow.h"
#include "board/BoardWindow.h"
#include "board/BoardStartup.h"
#include "widgets/Typefaces.h"
#include "options/OptionsDialog.h"
#include "app/SettingsFile.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

K40Application::K40Application(const Services& services) : services_(services) {
    Typefaces::registerSubstitutions();
    onEnd = [] { QCoreApplication::exit(0); };
    panel_ = std::make_unique<BoardWindow>(*this);
    options_ = std::make_unique<OptionsDialog>(*this);
    console_ = std::make_unique<ConsoleWindow>(*this);
}

K40Application::~K40Application() = default;

void K40Application::start() {
    BoardStartup::InitFareCells(*panel_);
    BoardStartup::InitPanelDefaults(*this);
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
    SettingsFile::LoadSettings(*this);
    panel_->show();
}

void K40Application::saveSettings() { SettingsFile::SaveSettings(*this); }

void K40Application::endProgram() {
    ended_ = true;
    options_->hide();
    console_->hide();
    panel_->hide();
    if (onEnd) onEnd();
}
