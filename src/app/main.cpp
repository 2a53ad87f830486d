#include "app/K40Application.h"
#include "app/TerminationWatch.h"
#include "audio/OpenJTalkSpeech.h"
#include "audio/SdlSoundOutput.h"
#include "model/SystemClock.h"
#include "widgets/PluginTicketEngine.h"
#include "widgets/QtCompanionDialogs.h"
#include "widgets/QtMessageBoxService.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTextStream>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const StartOptions::Parsed parsed = StartOptions::parse(app.arguments());
    if (!parsed.error.isEmpty()) {
        QTextStream(stderr) << "K40: " << parsed.error << '\n' << StartOptions::usage();
        return 2;
    }
    if (parsed.help) {
        QTextStream(stdout) << StartOptions::usage();
        return 0;
    }
    app.setWindowIcon(QIcon(QStringLiteral(":/k40/k40.png")));
    // The interface is Japanese throughout, Qt's own dialogs included.
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtJapanese);
    QtMessageBoxService messages;
    SystemClock clock;
    QtCompanionDialogs dialogs(&clock);
    SdlSoundOutput sound;
    OpenJTalkSpeech speech(sound);
    PluginTicketEngine tickets;
    Services services;
    services.messages = &messages;
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.sound = &sound;
    services.speech = &speech;
    services.tickets = &tickets;
    K40Application k40(services);
    // A shutdown, a logout or a kill ends K40 as its exit does, without
    // asking, so that nothing changed since the start is lost; the desktop
    // session saving its state has the settings saved.
    TerminationWatch termination;
    QObject::connect(&termination, &TerminationWatch::terminationRequested, &k40,
                     &K40Application::end);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &k40,
                     [&k40] {
                         if (!k40.ended()) k40.saveSettings(K40Application::Report::OnStandardError);
                     });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &k40, &K40Application::end);
    k40.start(parsed.options);
    return app.exec();
}
