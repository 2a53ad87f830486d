// Renders the looks of the stop-name display worth seeing to PNG files, each
// also three times enlarged ("x3-" in front of its name): a standing name,
// both sizes of the prefix, a prefixed long name in mid-scroll, the Mincho
// and substituted characters, and bold.
//   stripshots <out folder>
#include "widgets/StopNameDisplay.h"
#include "widgets/PropertyBag.h"
#include "model/Clock.h"
#include "widgets/Typefaces.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QTextStream>

namespace {

// Time that passes only when the program moves it on.
class StepClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override { return ms; }
    void after(int, QObject*, std::function<void()>) override {}
    qint64 ms = 0;
};

struct Shot {
    const char* file;
    qint16 tsugiwaMode;
    QString name;
    int scrollMs;
    qint16 fontMode;
    bool bold;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: stripshots <out folder>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) return 1;
    Typefaces::registerSubstitutions();
    const Shot shots[] = {
        {"chimei-standing.png", 0, u"系統選別中"_qs, 0, 0, false},
        {"chimei-prefix1.png", 1, u"市役所前"_qs, 0, 0, false},
        {"chimei-prefix2.png", 2, u"中央通り一丁"_qs, 0, 0, false},
        {"chimei-scrolling.png", 1, u"県立総合病院前・医療センター"_qs, 2000, 0, false},
        {"chimei-mincho.png", 2, u"バス停↑丨"_qs, 0, 2, false},
        {"chimei-bold.png", 1, u"ＪＲ駅前"_qs, 0, 4, true}};
    for (const Shot& s : shots) {
        StepClock clock;
        const PropertyBag panel{{u"BackColor"_qs, 0x404040u}, {u"ForeColor"_qs, 0x80C0FFu}};
        StopNameDisplay c(nullptr, &panel, &clock);
        c.setPrefixMode(s.tsugiwaMode);
        c.setFontMode(s.fontMode);
        c.setFontBold(s.bold);
        c.setSpeed(40);
        c.setStopName(s.name);
        for (int t = 0; t < s.scrollMs; t += StopNameDisplay::FrameIntervalMs) {
            clock.ms += StopNameDisplay::FrameIntervalMs;
            c.advanceScroll();
        }
        const QImage img = c.grab().toImage();
        const QString file = QString::fromLatin1(s.file);
        if (!img.save(out.filePath(file)) ||
            !img.scaled(img.size() * 3).save(out.filePath(u"x3-"_qs + file)))
            return 1;
        QTextStream(stdout) << out.filePath(file) << '\n';
    }
    return 0;
}
