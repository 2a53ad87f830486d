#pragma once
// A page of the options dialog: a frame of controls that shows a part of the
// settings record and writes the user's changes back into it. The dialog
// loads every page from the record it edits and stores them all on OK.

#include "widgets/CompanionDialogs.h"

#include <QGroupBox>
#include <QList>
#include <QStringList>
#include <functional>

class ColorButton;
class MessageBoxService;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TicketEngine;
struct SettingsRecord;

// What the pages share while the dialog is open: the choosers, the ticket
// engine, the message boxes, the custom colours of the record being edited,
// and the ticket plug-ins chosen so far.
struct OptionsContext {
    CompanionDialogs* dialogs = nullptr;
    TicketEngine* tickets = nullptr;
    MessageBoxService* messages = nullptr;
    // Opens a folder in the desktop's file manager; replaced in tests.
    std::function<bool(const QString&)> openFolder;
    CustomColorTable* customColors = nullptr;

    // The plug-ins chosen with the chooser, in order; the console takes the
    // company names of the last on OK.
    QStringList pluginChoices;
};

class OptionsPage : public QGroupBox {
    Q_OBJECT
public:
    OptionsPage(const QString& caption, OptionsContext& context, QWidget* parent = nullptr);

    virtual void load(const SettingsRecord& record) = 0;
    virtual void store(SettingsRecord& record) const = 0;

    // A path box with its "..." button.
    struct PathRow {
        QLineEdit* path = nullptr;
        QPushButton* choose = nullptr;
    };

protected:
    // The parts pages are made of.
    static QLabel* wrapLabel(const QString& text);
    static QPushButton* dotsButton();
    static QComboBox* dropDown(const QStringList& entries = {});
    // A colour button that opens the colour chooser; after a choice, then
    // runs (when given).
    ColorButton* colorButton(std::function<void()> then = {});
    // A path box whose "..." button fills it from chooser (an empty answer
    // leaves the box as it is).
    PathRow pathRow(std::function<QString()> chooser);
    // The choosers: a path chosen, or empty when cancelled or when the path
    // holds a character that the settings file cannot keep (which is told).
    QString chooseFile(const QString& filter, const QString& title);
    QString chooseFolder();
    // path, or empty (and the reason told) when CP932 cannot hold it.
    QString storable(const QString& path);
    // A caption that stands apart from its button: clicking it clicks the
    // button.
    static QLabel* captionOf(QAbstractButton* button, const QString& text);

    // Check boxes keep 0, 1 or 2 (the third state); option buttons -1
    // (chosen) or 0; lists their position, -1 for none.
    static void setCheck(QCheckBox* box, qint16 value);
    static qint16 check(const QCheckBox* box);
    static void setFlag(QRadioButton* button, qint16 value);
    static qint16 flag(const QRadioButton* button);
    static void setPosition(QComboBox* list, qint16 value);
    static qint16 position(const QComboBox* list);

    OptionsContext& context_;
};
