#pragma once
// A page of the options dialog: a frame of controls that shows a part of the
// settings record and writes the user's changes back into it. The dialog
// loads every page from the record it edits and stores them all on OK.
//
// A page ties each of its controls to the field of the settings file it
// holds (bind()); loading and storing walk the record's field list and move
// every tied field between the record and its control, so that a page has
// no list of fields of its own.

#include "widgets/CompanionDialogs.h"

#include <QGroupBox>
#include <QHash>
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

    // Shows the record's tied fields in their controls, then lets the page
    // bring what depends on them up to date (loaded()).
    void load(const SettingsRecord& record);
    // Writes the tied fields back from their controls.
    void store(SettingsRecord& record) const;

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

    // Ties a control to the settings field stored under field: a check box
    // (with its third state), a list (its position, none for no entry), a
    // path box or a label (a text), a colour button. A group of option
    // buttons is tied by the first of its stored names, a button for each
    // choice in order.
    void bind(const char* field, QWidget* control);
    void bindGroup(const char* firstField, const QList<QRadioButton*>& buttons);
    // What the page shows besides its tied controls, brought up to date after
    // a load.
    virtual void loaded(const SettingsRecord&) {}
    // What the page keeps besides its tied controls, written after a store.
    virtual void stored(SettingsRecord&) const {}

    // A group of option buttons shows the choice, or none: an exclusive
    // button can be unchecked only while it is not exclusive.
    static void setChosen(const QList<QRadioButton*>& buttons, int chosen);

    OptionsContext& context_;

private:
    friend class PageLoader;
    friend class PageStorer;
    QHash<QString, QWidget*> controls_;
    QHash<QString, QList<QRadioButton*>> groups_;
};
