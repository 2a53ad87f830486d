// k40shots: starts K40 with the settings file beside the given executable
// path, sets a route on the keypad, steps along it and saves pictures of the
// windows, of every page of the options dialog and of the voice dialog. The
// sounds and the speech go to a silent output unless SDL_AUDIODRIVER says
// otherwise. Given a folder of ticket plug-ins, it also saves the ticket of
// each at the stop reached, three times enlarged, and the board above the
// console as one picture (ride.png). On a board that pages, each page of the
// stop reached is saved too (page-<first ticket>.png). K40SHOTS_NOW (an ISO date and time)
// fixes the clock, so that the pictures come out the same at every run.
//   k40shots <executable path> <route> <section> <steps> <out folder> [plug-ins]

#include "app/K40Application.h"
#include "audio/OpenJTalkSpeech.h"
#include "audio/SdlSoundOutput.h"
#include "board/BoardWindow.h"
#include "console/ConsoleWindow.h"
#include "console/TicketPreviewBox.h"
#include "console/VoiceDialog.h"
#include "model/AppInfo.h"
#include "model/MessageBoxService.h"
#include "model/RouteSession.h"
#include "model/Settings.h"
#include "model/SystemClock.h"
#include "options/OptionsDialog.h"
#include "options/PanelPage.h"
#include "options/SoundsPage.h"
#include "widgets/PluginTicketEngine.h"
#include "widgets/QtCompanionDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>
#include <QTimer>
#include <functional>

namespace {

// A clock on which the lamp test takes no time (duringPause sees the
// windows as they are during it); the board's page turns wait in `later`
// until the pictures of a page are taken.
class QuickClock : public SystemClock {
public:
    QDateTime now() const override { return fixed.isValid() ? fixed : SystemClock::now(); }
    void after(int ms, QObject* context, std::function<void()> done) override {
        if (ms != RouteSession::LampTestMs) {
            later.push_back({context, std::move(done)});
            return;
        }
        QTimer::singleShot(0, context, [this, done] {
            if (duringPause) duringPause();
            done();
        });
    }
    // Ends the pauses waiting in later.
    void turnPages() {
        const auto due = std::move(later);
        later.clear();
        for (const auto& [context, done] : due)
            if (context) done();
    }
    std::function<void()> duringPause;
    QDateTime fixed;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> later;
};

class SilentMessages : public MessageBoxService {
public:
    MsgAnswer show(const QString& text, const QString&, MsgIcon, MsgButtons) override {
        QTextStream(stderr) << "message: " << text << '\n';
        return MsgAnswer::Ok;
    }
};

void save(QWidget& w, const QString& path) {
    QApplication::processEvents();
    w.grab().save(path);
}

// The board above the console, as they stand on the desktop.
void saveRide(QWidget& board, QWidget& console, const QString& path) {
    QApplication::processEvents();
    const QPixmap top = board.grab(), bottom = console.grab();
    constexpr int Gap = 8;
    QPixmap ride(std::max(top.width(), bottom.width()), top.height() + Gap + bottom.height());
    ride.fill(QColor(0x30, 0x30, 0x30));
    QPainter p(&ride);
    p.drawPixmap(0, 0, top);
    p.drawPixmap(0, top.height() + Gap, bottom);
    p.end();
    ride.save(path);
}

// Runs the event loop until the route session has done what it was given.
void settle(RouteSession& session) {
    QApplication::processEvents();
    while (session.isWaiting()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6 && args.size() != 7) {
        QTextStream(stderr)
            << "usage: k40shots <executable path> <route> <section> <steps> <out> [plug-ins]\n";
        return 2;
    }
    AppInfo::setExecutablePath(args[1]);
    const QString out = args[5];
    QDir().mkpath(out);

    SilentMessages messages;
    QuickClock clock;
    clock.fixed = QDateTime::fromString(qEnvironmentVariable("K40SHOTS_NOW"), Qt::ISODate);
    QtCompanionDialogs dialogs;
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    SdlSoundOutput sound;
    PluginTicketEngine tickets;
    OpenJTalkSpeech::Setup voices = OpenJTalkSpeech::Setup::standard();
    voices.voiceFolders = {QStringLiteral(K40_VOICES)};
    OpenJTalkSpeech speech(sound, voices);
    Services services;
    services.messages = &messages;
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.sound = &sound;
    services.speech = &speech;
    services.tickets = &tickets;
    K40Application k40(services);
    k40.onEnd = [] {};
    k40.start();
    save(k40.board(), out + QStringLiteral("/start-panel.png"));
    save(k40.console(), out + QStringLiteral("/start-console.png"));
    clock.duringPause = [&] { save(k40.board(), out + QStringLiteral("/lamp-test.png")); };

    RouteSession& session = k40.session();
    ConsoleWindow& console = k40.console();
    console.routeKey->click();
    for (QChar c : args[2]) console.digitKeys[size_t(c.digitValue())]->click();
    console.sectionKey->click();
    for (QChar c : args[3]) console.digitKeys[size_t(c.digitValue())]->click();
    console.keypadResetButton->click();
    settle(session);
    for (int i = 0; i < args[4].toInt(); ++i) console.stepForwardButton->click();
    settle(session);
    save(k40.board(), out + QStringLiteral("/panel.png"));
    // A board that pages: each page of the stop reached, once round.
    for (int turn = 0; turn < 12 && !clock.later.empty(); ++turn) {
        save(k40.board(), out + QStringLiteral("/page-%1.png").arg(session.pageShown()));
        clock.turnPages();
        if (session.pageShown() == 1) break;
    }
    // The board at twice its size, drawn at that size.
    k40.settings().setBoardScale(200);
    save(k40.board(), out + QStringLiteral("/board-200.png"));
    k40.settings().setBoardScale(100);
    // The board's right-click menu, over the board where it opens.
    {
        BoardWindow& board = k40.board();
        const QPoint at(190, 40);
        board.menu->popup(board.mapToGlobal(at));
        QApplication::processEvents();
        QPixmap shot = board.grab();
        QPainter(&shot).drawPixmap(at, board.menu->grab());
        shot.save(out + QStringLiteral("/board-menu.png"));
        board.menu->hide();
    }
    save(console, out + QStringLiteral("/console.png"));
    k40.settings().setKeypadBehind(true);
    k40.settings().setPreviewOpen(true);
    save(console, out + QStringLiteral("/console-lists-preview.png"));
    VoiceDialog voice(speech, &console);
    voice.show();
    save(voice, out + QStringLiteral("/voice-dialog.png"));
    voice.hide();
    QTimer::singleShot(100, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            save(*box, out + QStringLiteral("/version.png"));
            box->accept();
        }
    });
    dialogs.showVersion(&console, ConsoleWindow::versionText());

    OptionsDialog& options = k40.options();
    for (OptionsPage* page : options.pages()) page->load(k40.settings().record());
    options.resize(options.sizeHint());
    for (int page = 0; page < 6; ++page) {
        options.showPage(page);
        options.show();
        save(options, out + QStringLiteral("/options-%1.png").arg(page));
    }
    options.showPage(1);
    options.panelPage->perModePictures->setChecked(true);
    save(options, out + QStringLiteral("/options-1b.png"));
    options.soundsPage->announcementSoundsButton->setChecked(true);
    options.showPage(4);
    save(options, out + QStringLiteral("/options-4b.png"));
    options.hide();

    if (args.size() == 7) {
        const QDir plugins(args[6]);
        for (const QString& name : plugins.entryList({QStringLiteral("*.4SP")}, QDir::Files)) {
            SettingsRecord r = k40.settings().record();
            r.useTicketPreview = Check::Checked;
            r.ticketPlugin = plugins.filePath(name);
            k40.settings().commitOptions(r);
            console.clearCompanies();
            console.loadTicketPlugin(r.ticketPlugin);
            console.companyList->setCurrentIndex(console.companyList->count() > 0 ? 0 : -1);
            session.showRow(session.state().currentRow);
            const QImage& ticket = console.ticketPreview->image();
            ticket.scaled(ticket.size() * 3).save(
                out + QStringLiteral("/ticket-%1.png").arg(QFileInfo(name).completeBaseName()));
        }
        save(console, out + QStringLiteral("/console-ticket.png"));
    }
    saveRide(k40.board(), console, out + QStringLiteral("/ride.png"));
    return 0;
}
