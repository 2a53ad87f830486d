// Renders the looks of the stop-name display worth seeing to PNG files, each
// also three times enlarged ("x3-" in front of its name): a standing name,
// both sizes of the prefix, a prefixed long name in mid-scroll, the Mincho
// and substituted characters, and bold; and one sheet per face (Gothic,
// Mincho, each regular and bold) of names with complex kanji, whole strips
// one under the other.
//   stripshots <out folder>
#include "widgets/StopNameDisplay.h"
#include "model/Clock.h"
#include "widgets/Typefaces.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QPainter>
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
        StopNameDisplay c(nullptr, &clock);
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

    const QStringList names{u"系統選別中"_qs, u"市役所前・文化会館"_qs, u"議事堂前"_qs,
                            u"鶴見駅東口"_qs};
    for (const auto& [file, fontMode, bold] :
         {std::tuple{"face-gothic.png", 0, false}, std::tuple{"face-gothic-bold.png", 0, true},
          std::tuple{"face-mincho.png", 1, false}, std::tuple{"face-mincho-bold.png", 1, true}}) {
        QImage sheet(9 * 54 + 8, int(names.size()) * 58 + 4, QImage::Format_RGB32);
        sheet.fill(0x202020);
        for (qsizetype i = 0; i < names.size(); ++i) {
            StepClock clock;
            StopNameDisplay c(nullptr, &clock);
            c.setBackColor(0x101010);
            c.setDotColor(0x00A5FF);
            c.setPrefixMode(0);
            c.setFontMode(qint16(fontMode));
            c.setFontBold(bold);
            c.setStopName(names[i]);
            QPainter(&sheet).drawImage(4, 4 + int(i) * 58, c.stripImage());
        }
        const QString name = QString::fromLatin1(file);
        if (!sheet.save(out.filePath(name)) ||
            !sheet.scaled(sheet.size() * 2).save(out.filePath(u"x2-"_qs + name)))
            return 1;
        QTextStream(stdout) << out.filePath(name) << '\n';
    }
    return 0;
}
