#pragma once
// The console "集中操作盤": route and section entry by keypad or digit lists,
// stepping, display clear, late-night fares, backlight, the stop-name scroll
// bars, the announcement tape buttons, options, version and the boarding-ticket
// preview.
//
// The console builds its controls and forwards them: route operations to the
// route session, its switches to the settings; it shows what they hold and
// is told when that changes. What concerns other windows (the backlight of
// the board, the options, the version box, exiting) it asks for by signals.

#include "model/Backlight.h"
#include "model/ConsoleCommand.h"
#include "model/RouteSession.h"

#include <QWidget>
#include <array>
#include <vector>

class AnnouncementTape;
class QAbstractButton;
class EntryPanel;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;
class Settings;
class TicketEngine;
class TicketPreviewBox;

class ConsoleWindow : public QWidget, public RouteSession::TicketPreview {
    Q_OBJECT
public:
    ConsoleWindow(RouteSession& session, Settings& settings, const AnnouncementTape& tape,
                  TicketEngine* tickets, QWidget* parent = nullptr);
    ~ConsoleWindow() override;

    // The entry panels, one over the other.
    EntryPanel* digitListPanel = nullptr;
    std::array<QListWidget*, 5> routeLists{};   // the route's digits, leftmost first
    std::array<QListWidget*, 3> sectionLists{}; // the section's digits, hundreds first
    QPushButton* listResetButton = nullptr;     // "リセット" of the lists
    EntryPanel* keypadPanel = nullptr;
    std::array<QPushButton*, 10> digitKeys{};
    QPushButton* routeKey = nullptr;   // "系統"
    QPushButton* sectionKey = nullptr; // "区間"
    QLabel* routeReadout = nullptr;
    QLabel* sectionReadout = nullptr;
    QPushButton* keypadResetButton = nullptr; // "リセット" of the keypad

    QPushButton* stepBackButton = nullptr;    // "データ戻し"
    QPushButton* stepForwardButton = nullptr; // "データ送り"
    QCheckBox* clearDisplayCheck = nullptr;   // "表示消去"
    QGroupBox* backlightGroup = nullptr;
    std::array<QPushButton*, 3> backlightButtons{}; // "OFF", "ON1", "ON2"
    QGroupBox* scrollGroup = nullptr; // late night and the scroll bars
    QCheckBox* lateNightCheck = nullptr;
    QScrollBar* scrollSpeedBar = nullptr;
    QScrollBar* scrollIntervalBar = nullptr;
    QLabel* scrollSpeedValue = nullptr;
    QLabel* scrollIntervalValue = nullptr;

    QGroupBox* tapeGroup = nullptr;
    QPushButton* tapeBackButton = nullptr;
    QPushButton* tapeNextButton = nullptr;
    QPushButton* tapeStopButton = nullptr;
    QPushButton* voiceSettingsButton = nullptr;

    QPushButton* optionsButton = nullptr; // "設定..."
    QPushButton* versionButton = nullptr; // "ﾊﾞｰｼﾞｮﾝ"
    QPushButton* previewToggle = nullptr; // ">>" / "<<"
    TicketPreviewBox* ticketPreview = nullptr;
    QComboBox* companyList = nullptr;
    QAction* copyAction = nullptr; // "コピー(&C)" of the preview's menu

    // The ticket plug-in at path: the preview takes its size and the company
    // list its company names. Returns whether path is a plug-in.
    bool loadTicketPlugin(const QString& path);
    void clearCompanies();
    // Puts the preview's picture on the clipboard.
    void copyTicket();

    // The button of command.
    QAbstractButton* buttonOf(ConsoleCommand command) const;
    // Presses the button of command as a click does, with its sound; nothing
    // while the button is disabled. During an operation of the route session
    // (the lamp test, a chime played in sync) it waits, as a click does, and
    // is pressed after it. Its keys (commandKeys()) do this while the console
    // is the active window; the board's are sent here as well.
    void press(ConsoleCommand command);

    // The text of the version box.
    static QString versionText();

    // RouteSession::TicketPreview
    void clear() override;
    void draw(FareRow::TicketDrawing& ticket) override;

signals:
    void backlightChosen(Backlight mode);
    void optionsRequested();
    void versionRequested();
    // "調整" of the tape: the voice settings.
    void voiceSettingsRequested();
    // The window manager asked to close the console: the program may end.
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildEntryPanels();
    void buildControls();
    void addKeys();
    void showConsoleState();
    void showRouteControls();
    void showTapeControls();
    QString selectedDigits(const QListWidget* const* lists, int count) const;

    RouteSession& session_;
    Settings& settings_;
    const AnnouncementTape& tape_;
    TicketEngine* tickets_;
    QMenu* previewMenu_ = nullptr;
    std::vector<ConsoleCommand> heldCommands_; // pressed during an operation
};
