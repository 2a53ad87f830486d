// The dialogs and choosers on Qt, driven while they are open.
#include "widgets/QtCompanionDialogs.h"
#include "Fakes.h"
#include "Modal.h"
#include "TestFiles.h"
#include <QCalendarWidget>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

namespace {
template <typename T> T* child(QDialog* d, const QString& name) { return d->findChild<T*>(name); }
} // namespace
class TestCompanionDialogs : public QObject {
    Q_OBJECT
private slots:
    void digitOptions() {
        // Shows the options given; OK hands back those chosen, cancel those given. Taken as shown:
        // a zero mode without a button stays, shift and fill come within the digit count.
        QtCompanionDialogs dialogs;
        QStringList shown; // the count, then each button's number, "*" for the checked one
        whenModal([&](QDialog* d) {
            shown << child<QLabel>(d, "digitCount")->text();
            for (int m = 0; m < 4; ++m) {
                auto* b = child<QRadioButton>(d, QStringLiteral("zeroMode%1").arg(m));
                shown << b->text().left(1) + (b->isChecked() ? "*" : "");
            }
            child<QRadioButton>(d, "zeroMode2")->setChecked(true);
            child<QSpinBox>(d, "shift")->setValue(1), child<QSpinBox>(d, "fillZero")->setValue(3);
            d->accept();
        });
        DigitOptions options{1, 0, 0};
        QVERIFY(dialogs.editDigitOptions(nullptr, 3, options));
        QCOMPARE(options, (DigitOptions{2, 1, 3}));
        QVERIFY(shown.takeFirst().contains(u'3'));
        QCOMPARE(shown, (QStringList{"0", "1*", "2", "3"}));
        whenModal([&](QDialog* d) {
            child<QRadioButton>(d, "zeroMode0")->setChecked(true);
            child<QSpinBox>(d, "shift")->setValue(0), d->reject();
        });
        QVERIFY(!dialogs.editDigitOptions(nullptr, 3, options));
        QCOMPARE(options, (DigitOptions{2, 1, 3}));
        whenModal([](QDialog* d) { d->accept(); });
        options = {7, 9, 9};
        QVERIFY(dialogs.editDigitOptions(nullptr, 3, options));
        QCOMPARE(options, (DigitOptions{7, 2, 3}));
    }
    void versionBoxAndDateChooser() {
        // The version box shows its text as it is; the date chooser opens on today, 5 March 2024
        // by the clock.
        FakeClock clock;
        QtCompanionDialogs dialogs(&clock);
        QString shown;
        whenModal([&](QDialog* d) { shown = child<QLabel>(d, "text")->text(), d->accept(); });
        dialogs.showVersion(nullptr, u"カルテラVer4\n機種：K40"_qs);
        QCOMPARE(shown, u"カルテラVer4\n機種：K40"_qs);
        QDate startedAt;
        const auto choose = [&](int day, bool ok) {
            whenModal([&, day, ok](QDialog* d) {
                auto* calendar = d->findChild<QCalendarWidget*>();
                startedAt = calendar->selectedDate();
                calendar->setSelectedDate(QDate(2024, 3, day));
                ok ? d->accept() : d->reject();
            });
            return dialogs.chooseDate(nullptr);
        };
        QCOMPARE(choose(7, true), std::optional<QDate>(QDate(2024, 3, 7)));
        QCOMPARE(startedAt, QDate(2024, 3, 5));
        QCOMPARE(choose(1, false), std::nullopt);
    }
    void chooseColor() {
        // Colours are 0x00BBGGRR; the 16 custom colours go both ways, the table's 17th is left
        // alone.
        QtCompanionDialogs dialogs;
        QColor startedAt, customShown;
        whenModal([&](QDialog* d) {
            auto* cd = qobject_cast<QColorDialog*>(d);
            startedAt = cd->currentColor(), customShown = QColorDialog::customColor(0);
            cd->setCurrentColor(QColor(1, 2, 3)), QColorDialog::setCustomColor(1, QColor(9, 8, 7));
            cd->accept();
        });
        CustomColorTable table{};
        table[0] = 0x0000FF, table[16] = 0x7FEDCBA9;
        BgrColor colour = 0x72D2F8;
        QVERIFY(dialogs.chooseColor(nullptr, colour, table));
        QCOMPARE((QList<QColor>{startedAt, customShown}), (QList<QColor>{QColor(248, 210, 114), Qt::red}));
        QCOMPARE((QList<quint32>{colour, table[0], table[1], table[16]}),
                 (QList<quint32>{0x030201, 0x0000FF, 0x070809, 0x7FEDCBA9}));
        whenModal([](QDialog* d) {
            qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(4, 5, 6));
            d->reject();
        });
        QVERIFY(!dialogs.chooseColor(nullptr, colour, table));
        QCOMPARE(colour, BgrColor(0x030201));
    }
    void fileAndFolderChoosers() {
        // The title and filters as given; the choice in native form, none when cancelled.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("chime.wav"));
        QVERIFY(writeFile(path, {}));
        QtCompanionDialogs dialogs;
        QStringList seen;
        const QString filter = u"Waveサウンド(*.wav);;MIDIサウンド(*.mid)"_qs;
        const QString title = u"サウンドの選択"_qs, prompt = u"プラグインのフォルダを選択してください"_qs;
        const auto choose = [&](const QString& chosen, bool folder) {
            whenModal([&, chosen](QDialog* d) {
                auto* fd = qobject_cast<QFileDialog*>(d);
                seen = QStringList{fd->windowTitle()} + fd->nameFilters();
                fd->setDirectory(dir.path()), fd->selectFile(chosen);
                chosen.isEmpty() ? d->reject() : d->accept();
            });
            return folder ? dialogs.chooseFolder(nullptr, prompt)
                          : dialogs.chooseFile(nullptr, filter, title);
        };
        QCOMPARE(choose(path, false), QDir::toNativeSeparators(path));
        QCOMPARE(seen, (QStringList{title, u"Waveサウンド(*.wav)"_qs, u"MIDIサウンド(*.mid)"_qs}));
        QCOMPARE(choose(dir.path(), true), QDir::toNativeSeparators(dir.path()));
        QCOMPARE(seen.first(), prompt);
        QCOMPARE(choose(QString(), false) + choose(QString(), true), QString());
    }
};
QTEST_MAIN(TestCompanionDialogs)
#include "tst_companiondialogs.moc"
