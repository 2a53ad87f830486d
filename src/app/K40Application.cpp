#include "app/K40Application.h"

#include "app/InputHold.h"
#include "app/WindowPlacement.h"
#include "board/BoardWindow.h"
#include "console/ConsoleWindow.h"
#include "console/VoiceDialog.h"
#include "model/AnnouncementTape.h"
#include "model/AppInfo.h"
#include "model/Clock.h"
#include "model/K40Error.h"
#include "model/MessageBoxService.h"
#include "model/RouteSession.h"
#include "model/Settings.h"
#include "model/SettingsFile.h"
#include "model/SoundChannels.h"
#include "model/SpeechEngine.h"
#include "model/StarterSettings.h"
#include "model/VoiceSettingsFile.h"
#include "model/BoardChoice.h"
#include "options/OptionsDialog.h"
#include "widgets/CompanionDialogs.h"
#include "widgets/StopNameDisplay.h"
#include "widgets/Typefaces.h"
#include "widgets/Units.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

K40Application::K40Application(const Services& services) : services_(services) {
    Typefaces::registerSubstitutions();
    onEnd = [] { QCoreApplication::exit(0); };
    if (!services_.windows) ownPlacement_ = std::make_unique<QtWindowPlacement>();
    placement_ = services_.windows ? services_.windows : ownPlacement_.get();

    settings_ = std::make_unique<Settings>(services_.clock->now().date());
    sounds_ = std::make_unique<SoundChannels>(services_.sound);
    tape_ = std::make_unique<AnnouncementTape>(services_.speech);
    session_ = std::make_unique<RouteSession>(*settings_, *sounds_, *tape_, *services_.messages,
                                              *services_.clock);
    board_ = std::make_unique<BoardWindow>(*settings_, *services_.messages, services_.dialogs,
                                           services_.clock);
    console_ = std::make_unique<ConsoleWindow>(*session_, *settings_, *tape_, services_.tickets);
    options_ = std::make_unique<OptionsDialog>(services_.dialogs, services_.tickets,
                                               services_.messages);
    inputHold_ = std::make_unique<InputHold>();

    session_->setBoard(board_.get());
    session_->setTicketPreview(console_.get());
    // Nothing the user does is taken during the lamp test; it waits.
    connect(session_.get(), &RouteSession::busyChanged, inputHold_.get(), &InputHold::setHeld);
    connect(settings_.get(), &Settings::optionsCommitted, board_.get(),
            &BoardWindow::applyAppearance);
    connect(settings_.get(), &Settings::consoleStateChanged, this,
            &K40Application::applyScrollSettings);
    connect(console_.get(), &ConsoleWindow::backlightChosen, board_.get(),
            &BoardWindow::setBacklight);
    connect(console_.get(), &ConsoleWindow::optionsRequested, this, &K40Application::openOptions);
    connect(console_.get(), &ConsoleWindow::versionRequested, this, &K40Application::showVersion);
    connect(console_.get(), &ConsoleWindow::voiceSettingsRequested, this,
            &K40Application::openVoiceSettings);
    connect(console_.get(), &ConsoleWindow::exitRequested, this, &K40Application::requestExit);
    // The board's size, kept in the board's file at once.
    connect(settings_.get(), &Settings::boardViewChanged, this, [this] {
        board_->applyView();
        saveBoardChoice();
    });
    // The board's keys and menu press the console's buttons.
    connect(board_.get(), &BoardWindow::commandChosen, console_.get(), &ConsoleWindow::press);
    // A fare cell's digit settings are modal to the console too.
    connect(board_.get(), &BoardWindow::cellDialogOpen, console_.get(),
            [this](bool open) { console_->setEnabled(!open); });
}

K40Application::~K40Application() = default;

void K40Application::start(const StartOptions& options) {
    BoardChoice board = BoardChoiceFile::read(BoardChoiceFile::path());
    options.applyTo(board);
    settings_->setBoard(board);
    board_->applyAppearance();
    console_->show();
    board_->setWindowTitle(QStringLiteral("カルテラ - 型番:") + AppInfo::modelName());
    tape_->createSpeech();
    if (tape_->speechAvailable())
        services_.speech->setVoice(VoiceSettingsFile::read(VoiceSettingsFile::path()));
    applyScrollSettings();
    console_->raise();
    placement_->moveFrameTo(*board_, QPoint(0, 0));
    const QRect area = placement_->screenArea();
    const QSize console = placement_->frameSize(*console_);
    if (!area.isEmpty())
        placement_->moveFrameTo(*console_, QPoint(area.right() + 1 - console.width(),
                                                  area.bottom() + 1 - console.height()));
    board_->applyRoundShape();
    board_->update();
    loadSettings();
    board_->show();
    if (settings_->record().board.fullScreen) board_->applyView();
    // A screen smaller than the one the positions were stored on; looked at
    // again once the window manager has framed the windows, since a frame
    // makes a window larger than it was when it was placed.
    const auto fit = [this] {
        keepOnScreen(*console_);
        if (!board_->isShownFullScreen()) keepOnScreen(*board_);
    };
    fit();
    QTimer::singleShot(FrameSettleMs, this, fit);
}

void K40Application::keepOnScreen(QWidget& window) {
    const QRect frame(placement_->framePosition(window), placement_->frameSize(window));
    const QPoint fitted = placement_->fittedPosition(frame);
    if (fitted != frame.topLeft()) placement_->moveFrameTo(window, fitted);
}

void K40Application::applyScrollSettings() {
    StopNameDisplay& strip = *board_->stopNameDisplay;
    strip.setSpeed(static_cast<qint16>(settings_->record().scrollSpeed));
    strip.setScrollStartWait(settings_->record().scrollWait);
}

// ---- The settings file --------------------------------------------------------------

void K40Application::loadSettings() {
    SettingsCodec::Decoded stored;
    try {
        stored = SettingsFile::read(SettingsFile::path());
    } catch (const K40Error& e) {
        if (e.number() != K40Error::BadFileName && e.number() != K40Error::FileNotFound) {
            settingsUnread_ = true;
            showError(e.number(), e.description());
            return;
        }
        // A first start has no file to read. Run from its build folder K40
        // starts on its defaults; installed, it starts on the shipped samples.
        if (!AppInfo::isInstalled()) return;
        const QString data = AppInfo::dataDir();
        stored.record = StarterSettings::record(data + QStringLiteral("/sample"),
                                                data + QStringLiteral("/sample"),
                                                data + QStringLiteral("/plugins/standard.4SP"),
                                                services_.clock->now().date());
        stored.fieldsTaken = SettingsCodec::fieldCount();
    }
    // The cells, the digit colours and the strip take what the file holds;
    // the rest is taken as the controls take it, up to a value they refuse.
    board_->takeStoredDisplays(stored.record);
    try {
        settings_->take(stored);
    } catch (const K40Error& e) {
        settingsUnread_ = true;
        showError(e.number(), e.description());
    }
    if (settings_->took(QStringLiteral("PanelOn2File")))
        board_->setBacklight(board_->backlight()); // changed panel pictures show at once
    if (settings_->took(QStringLiteral("SeiriPlgFile")))
        console_->loadTicketPlugin(settings_->record().ticketPlugin);
    const SettingsRecord& r = settings_->record();
    if (settings_->took(QStringLiteral("CtrlTop")))
        placement_->moveFrameTo(*console_, QPoint(Units::px(r.consoleLeft), Units::px(r.consoleTop)));
    if (settings_->took(QStringLiteral("PanelTop")))
        placement_->moveFrameTo(*board_, QPoint(Units::px(r.boardLeft), Units::px(r.boardTop)));
    if (!stored.problem) board_->applyAppearance();
}

bool K40Application::keepUnreadSettings(Report report) {
    const QString path = SettingsFile::path();
    if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink()) return true;
    QString kept = path + QStringLiteral(".bak");
    if (QFileInfo::exists(kept) || QFileInfo(kept).isSymLink())
        kept = path + services_.clock->now().toString(u".yyyyMMdd-HHmmss") + QStringLiteral(".bak");
    if (QFileInfo::exists(kept) || !QFile::rename(path, kept)) {
        tell(report, QStringLiteral("起動時に読めなかった設定ファイル「%1」を別の名前で残せなかったため、"
                                    "設定を保存しませんでした。")
                         .arg(path));
        return false;
    }
    tell(report, QStringLiteral("起動時に読めなかった設定ファイルは、上書きせずに「%1」として残しました。")
                     .arg(kept));
    return true;
}

void K40Application::tell(Report report, const QString& text) {
    if (report == Report::ByBox)
        services_.messages->show(text, AppInfo::title(), MsgIcon::Exclamation, MsgButtons::Ok);
    else
        qCritical("%s", qPrintable(text));
}

void K40Application::saveSettings(Report report) {
    if (settingsUnread_) {
        if (!keepUnreadSettings(report)) return;
        settingsUnread_ = false;
    }
    SettingsRecord r = settings_->record();
    const QPoint console = placement_->framePosition(*console_);
    r.consoleLeft = Units::twips(console.x());
    r.consoleTop = Units::twips(console.y());
    const QPoint board = board_->isShownFullScreen() ? board_->windowedPosition()
                                                     : placement_->framePosition(*board_);
    r.boardLeft = Units::twips(board.x());
    r.boardTop = Units::twips(board.y());
    try {
        QDir().mkpath(AppInfo::settingsDir());
        SettingsFile::write(SettingsFile::path(), r);
    } catch (const K40Error& e) {
        if (report == Report::ByBox)
            showError(e.number(), e.description());
        else
            qCritical("%s: %s", qPrintable(SettingsFile::path()),
                      qPrintable(SettingsFile::errorText(e.number(), e.description())));
    }
}

void K40Application::showError(int number, const QString& description) {
    services_.messages->show(SettingsFile::errorText(number, description), AppInfo::title(),
                             MsgIcon::None, MsgButtons::Ok);
}

// ---- The console's requests -------------------------------------------------------------

void K40Application::openOptions() {
    board_->setEnabled(false);
    console_->setEnabled(false);
    SettingsRecord edited = settings_->record();
    const BoardChoice boardBefore = edited.board;
    options_->edit(edited);
    // A plug-in chosen gives the console its company names and the preview
    // its size. Cancelling the chooser or choosing a file that is no plug-in
    // leaves the console's plug-in as it was.
    if (!options_->pluginChoices().isEmpty()) {
        console_->clearCompanies();
        console_->loadTicketPlugin(options_->pluginChoices().last());
    }
    settings_->commitOptions(edited);
    board_->setEnabled(true);
    console_->setEnabled(true);
    if (edited.board == boardBefore) return session_->showStopNameAgain();
    // Another board: its own file keeps it, and the row is shown on it afresh.
    saveBoardChoice();
    session_->showRowAgain();
}

void K40Application::saveBoardChoice() {
    QDir().mkpath(AppInfo::settingsDir());
    if (!BoardChoiceFile::write(BoardChoiceFile::path(), settings_->record().board))
        services_.messages->show(QStringLiteral("表示器の設定を保存できませんでした。\r\n") +
                                     BoardChoiceFile::path(),
                                 AppInfo::title(), MsgIcon::Exclamation, MsgButtons::Ok);
}

void K40Application::showVersion() {
    board_->setEnabled(false);
    if (services_.dialogs)
        services_.dialogs->showVersion(console_.get(), ConsoleWindow::versionText());
    board_->setEnabled(true);
}

void K40Application::openVoiceSettings() {
    if (!tape_->speechAvailable()) return;
    board_->setEnabled(false);
    VoiceDialog dialog(*services_.speech, console_.get());
    if (dialog.edit()) {
        QDir().mkpath(AppInfo::settingsDir());
        if (!VoiceSettingsFile::write(VoiceSettingsFile::path(), dialog.edited()))
            services_.messages->show(QStringLiteral("音声の設定を保存できませんでした。\r\n") +
                                         VoiceSettingsFile::path(),
                                     AppInfo::title(), MsgIcon::Exclamation, MsgButtons::Ok);
    }
    board_->setEnabled(true);
}

bool K40Application::requestExit() {
    if (services_.messages->show(QStringLiteral("カルテラを終了しますか？"),
                                 QStringLiteral("カルテラの終了確認"), MsgIcon::Question,
                                 MsgButtons::YesNo) != MsgAnswer::Yes)
        return false;
    endProgram(Report::ByBox);
    return true;
}

void K40Application::end() {
    if (!ended_) endProgram(Report::OnStandardError);
}

void K40Application::endProgram(Report report) {
    board_->showStopName(QString());
    sounds_->closeAll();
    tape_->releaseSpeech();
    saveSettings(report);
    ended_ = true;
    options_->hide();
    console_->hide();
    board_->hide();
    if (onEnd) onEnd();
}
