// The dialogs and choosers on Qt, driven while they are open.
#include "widgets/QtCompanionDialogs.h"

#include "Fakes.h"
#include "Modal.h"
#include "TestFiles.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {
template <typename T> T* child(QDialog* d, const QString& name) {
    return d->findChild<T*>(name);
}
} // namespace

class TestCompanionDialogs : public QObject {
    Q_OBJECT
private slots:
    void digitOptions() {
        // Shows the options given; OK hands back those chosen, cancel those given.
        QtCompanionDialogs dialogs;
        QString count;
        QStringList modes; // each button's number, and "*" for the checked one
        whenModal([&](QDialog* d) {
            count = child<QLabel>(d, "digitCount")->text();
            for (int m = 0; m < 4; ++m) {
                auto* b = child<QRadioButton>(d, QStringLiteral("zeroMode%1").arg(m));
                modes << b->text().left(1) + (b->isChecked() ? "*" : "");
            }
            child<QRadioButton>(d, "zeroMode2")->setChecked(true);
            child<QSpinBox>(d, "shift")->setValue(1);
            child<QSpinBox>(d, "fillZero")->setValue(3);
            d->accept();
        });
        DigitOptions options{1, 0, 0};
        QVERIFY(dialogs.editDigitOptions(nullptr, 3, options));
        QCOMPARE(options, (DigitOptions{2, 1, 3}));
        QVERIFY(count.contains(u'3'));
        QCOMPARE(modes, (QStringList{"0", "1*", "2", "3"}));
        whenModal([&](QDialog* d) {
            child<QRadioButton>(d, "zeroMode0")->setChecked(true);
            child<QSpinBox>(d, "shift")->setValue(0);
            d->reject();
        });
        QVERIFY(!dialogs.editDigitOptions(nullptr, 3, options));
        QCOMPARE(options, (DigitOptions{2, 1, 3}));
        // Taken as shown: a zero mode without a button stays, shift and fill
        // come within the digit count.
        whenModal([](QDialog* d) { d->accept(); });
        options = {7, 9, 9};
        QVERIFY(dialogs.editDigitOptions(nullptr, 3, options));
        QCOMPARE(options, (DigitOptions{7, 2, 3}));
    }

    void versionBoxShowsText() {
        QtCompanionDialogs dialogs;
        QString shown;
        whenModal([&](QDialog* d) {
            shown = child<QLabel>(d, "text")->text();
            d->accept();
        });
        dialogs.showVersion(nullptr, u"カルテラVer4\n機種：K40"_qs);
        QCOMPARE(shown, u"カルテラVer4\n機種：K40"_qs);
    }

    void dateChooser() {
        FakeClock clock; // today is 5 March 2024
        QtCompanionDialogs dialogs(&clock);
        QDate startedAt;
        whenModal([&](QDialog* d) {
            auto* calendar = d->findChild<QCalendarWidget*>();
            startedAt = calendar->selectedDate();
            calendar->setSelectedDate(QDate(2024, 3, 7));
            d->accept();
        });
        QCOMPARE(dialogs.chooseDate(nullptr), std::optional<QDate>(QDate(2024, 3, 7)));
        QCOMPARE(startedAt, QDate(2024, 3, 5));
        whenModal([](QDialog* d) {
            d->findChild<QCalendarWidget*>()->setSelectedDate(QDate(2024, 3, 1));
            d->reject();
        });
        QCOMPARE(dialogs.chooseDate(nullptr), std::nullopt);
    }

    void chooseColor() {
        // Colours are 0x00BBGGRR; the 16 custom colours are shown and taken
        // back, the table's 17th entry is left alone.
        QtCompanionDialogs dialogs;
        QColor startedAt, customShown;
        whenModal([&](QDialog* d) {
            auto* cd = qobject_cast<QColorDialog*>(d);
            startedAt = cd->currentColor();
            customShown = QColorDialog::customColor(0);
            cd->setCurrentColor(QColor(1, 2, 3));
            QColorDialog::setCustomColor(1, QColor(9, 8, 7));
            cd->accept();
        });
        CustomColorTable table{};
        table[0] = 0x0000FF;
        table[16] = 0x7FEDCBA9;
        BgrColor colour = 0x72D2F8;
        QVERIFY(dialogs.chooseColor(nullptr, colour, table));
        QCOMPARE(startedAt, QColor(248, 210, 114));
        QCOMPARE(customShown, QColor(255, 0, 0));
        QCOMPARE(colour, BgrColor(0x030201));
        QCOMPARE(table[0], 0x0000FF);
        QCOMPARE(table[1], 0x070809);
        QCOMPARE(table[16], 0x7FEDCBA9);
        whenModal([](QDialog* d) {
            qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(4, 5, 6));
            d->reject();
        });
        QVERIFY(!dialogs.chooseColor(nullptr, colour, table));
        QCOMPARE(colour, BgrColor(0x030201));
    }

    void fileAndFolderChoosers() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("chime.wav"));
        QVERIFY(writeFile(path, {}));
        QtCompanionDialogs dialogs;
        QString title;
        QStringList filters;
        const auto choose = [&](const QString& chosen) {
            whenModal([&, chosen](QDialog* d) {
                auto* fd = qobject_cast<QFileDialog*>(d);
                title = fd->windowTitle();
                filters = fd->nameFilters();
                fd->setDirectory(dir.path());
                fd->selectFile(chosen);
                chosen.isEmpty() ? d->reject() : d->accept();
            });
        };
        const QString filter = u"Waveサウンド(*.wav);;MIDIサウンド(*.mid)"_qs;
        const QString prompt = u"プラグインのフォルダを選択してください"_qs;
        choose(path);
        QCOMPARE(dialogs.chooseFile(nullptr, filter, u"サウンドの選択"_qs),
                 QDir::toNativeSeparators(path));
        QCOMPARE(title, u"サウンドの選択"_qs);
        QCOMPARE(filters, (QStringList{u"Waveサウンド(*.wav)"_qs, u"MIDIサウンド(*.mid)"_qs}));
        choose(dir.path());
        QCOMPARE(dialogs.chooseFolder(nullptr, prompt), QDir::toNativeSeparators(dir.path()));
        QCOMPARE(title, prompt);
        choose(QString()); // cancelled: nothing chosen
        QCOMPARE(dialogs.chooseFile(nullptr, filter, u"サウンドの選択"_qs), QString());
        choose(QString());
        QCOMPARE(dialogs.chooseFolder(nullptr, prompt), QString());
    }
};

QTEST_MAIN(TestCompanionDialogs)
#include "tst_companiondialogs.moc"
