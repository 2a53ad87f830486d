// k40shots: starts K40 with the settings file beside the given executable
// path, sets a route on the keypad, steps along it and saves pictures of the
// windows and of every page of the options dialog.
//   k40shots <executable path> <route> <section> <steps> <out folder>

#include "app/K40Application.h"
#include "console/ConsoleWindow.h"
#include "board/BoardWindow.h"
#include "model/AppInfo.h"
#include "widgets/QtCompanionDialogs.h"
#include "model/SystemClock.h"
#include "widgets/QtMessageBoxService.h"
#include "options/OptionsDialog.h"

#include <QApplication>
#include <functional>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>
#include <QTimer>

namespace {

// A clock whose waits pass at once, so that the lamp test takes no time;
// onWait sees the windows as they are during a wait.
class QuickClock : public SystemClock {
public:
    void wait(int ms) override {
        if (onWait && ms > 0) onWait();
    }
    std::function<void()> onWait;
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

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        QTextStream(stderr) << "usage: k40shots <executable path> <route> <section> <steps> <out>\n";
        return 2;
    }
    AppInfo::setExecutablePath(args[1]);
    const QString out = args[5];
    QDir().mkpath(out);

    SilentMessages messages;
    QuickClock clock;
    QtCompanionDialogs dialogs;
    Services services;
    services.messages = &messages;
    services.clock = &clock;
    services.dialogs = &dialogs;
    K40Application k40(services);
    k40.onEnd = [] {};
    k40.start();
    save(k40.panel(), out + QStringLiteral("/start-panel.png"));
    save(k40.console(), out + QStringLiteral("/start-console.png"));
    clock.onWait = [&] { save(k40.panel(), out + QStringLiteral("/lamp-test.png")); };

    ConsoleWindow& ctl = k40.console();
    ctl.CommandButton1_Click(10);
    for (QChar c : args[2]) ctl.CommandButton1_Click(c.digitValue());
    ctl.CommandButton1_Click(11);
    for (QChar c : args[3]) ctl.CommandButton1_Click(c.digitValue());
    ctl.Command1_Click(1);
    for (int i = 0; i < args[4].toInt(); ++i) ctl.Command2_Click(1);
    save(k40.panel(), out + QStringLiteral("/panel.png"));
    save(ctl, out + QStringLiteral("/console.png"));
    ctl.Frame1_DblClick(1);
    ctl.Check4->setChecked(true);
    save(ctl, out + QStringLiteral("/console-lists-preview.png"));

    OptionsDialog& options = k40.options();
    options.resize(options.sizeHint());
    for (int page = 0; page < 6; ++page) {
        options.showPage(page);
        options.show();
        save(options, out + QStringLiteral("/options-%1.png").arg(page));
    }
    options.Option5[0]->setChecked(true);
    options.showPage(4);
    save(options, out + QStringLiteral("/options-4b.png"));
    return 0;
}
