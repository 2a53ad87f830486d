#include "app/K40Application.h"
#include "audio/OpenJTalkSpeech.h"
#include "audio/SdlMediaCommands.h"
#include "model/SystemClock.h"
#include "widgets/PluginTicketEngine.h"
#include "widgets/QtCompanionDialogs.h"
#include "widgets/QtMessageBoxService.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setWindowIcon(QIcon(QStringLiteral(":/k40/k40.png")));
    // The interface is Japanese throughout, Qt's own dialogs included.
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtJapanese);
    QtMessageBoxService messages;
    SystemClock clock;
    QtCompanionDialogs dialogs(&clock);
    SdlMediaCommands sound;
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
    k40.start();
    return app.exec();
}
