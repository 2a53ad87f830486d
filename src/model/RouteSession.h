#pragma once
// The route session: what the console does with a route, without a widget.
// Setting a route (its announcements and fares read, the lamp test, the start
// row shown), stepping forward and back with the step sound, the display
// clear, the keypad entry, the announcement tape's buttons, and showing a row
// on the board: its fares, information digits, ticket preview and stop name
// (FareRow computes them).
//
// An operation never runs inside another. A command that arrives while one
// runs (a click taken by the event loop of a synchronous sound or of a message
// box, or one given during the lamp test) waits and runs after it, in order.
// The lamp test is a pause on the clock: the session waits 3000 ms with every
// segment lit, then shows the start row.
//
// A board set to page shows a row's tickets beyond its cells page by page:
// the first page when the row is shown, then every few seconds (a pause on
// the clock) the next page that holds a fare, and round again, until another
// row is shown or the board is cleared.

#include "model/FareData.h"
#include "model/FareRow.h"

#include <QObject>
#include <deque>
#include <functional>

class AnnouncementTape;
class Clock;
class MessageBoxService;
class Settings;
class SoundChannels;

class RouteSession : public QObject {
    Q_OBJECT
public:
    // What the session shows a row on: the board's fare cells, its clock and
    // its stop-name strip.
    class Board {
    public:
        virtual ~Board() = default;
        // Fare cell 1..cells, or 0, the board's hidden spare cell.
        virtual void setCellValue(int cell, const DigitValue& value) = 0;
        // Every fare cell with every segment lit (the lamp test) or blank.
        virtual void resetCells(bool allLit) = 0;
        // The ticket-number labels numbered for the page whose cell 1 shows
        // firstTicket (1: the first page, as the layout numbers it).
        virtual void showTicketPage(int firstTicket) = 0;
        // The clock stopped and blanked, or going again where it is shown.
        virtual void setClockRunning(bool running) = 0;
        // The stop-name strip: its "次は" prefix mode, and the name shown.
        virtual qint16 prefixMode() const = 0;
        virtual void setPrefixMode(qint16 mode) = 0;
        virtual void showStopName(const QString& name) = 0;
    };

    // The console's boarding-ticket preview.
    class TicketPreview {
    public:
        virtual ~TicketPreview() = default;
        virtual void clear() = 0;
        // Draws ticket; the stop name and date that the drawing leaves in
        // ticket are taken back.
        virtual void draw(FareRow::TicketDrawing& ticket) = 0;
    };

    enum class Direction { Back, Forward };
    // The keys of the keypad besides the digits 0 to 9.
    enum Key { RouteKey = 10, SectionKey = 11 };
    static constexpr int LampTestMs = 3000;

    RouteSession(const Settings& settings, const SoundChannels& sounds, AnnouncementTape& tape,
                 MessageBoxService& messages, Clock& clock, QObject* parent = nullptr);

    void setBoard(Board* board) { board_ = board; }
    void setTicketPreview(TicketPreview* preview) { preview_ = preview; }

    // A key of the keypad: the reset sound, then "系統" or "区間" chooses
    // what the digits enter and clears it; a digit is added to the route (up
    // to five) or the section (up to three).
    void pressKey(int key);
    const QString& typedRoute() const { return typedRoute_; }
    const QString& typedSection() const { return typedSection_; }
    // A digit list's selection changed: the reset sound.
    void playListSound();

    // Sets the route of routeText from the section of sectionText (the
    // keypad's texts for setRouteFromKeypad()).
    void setRoute(const QString& routeText, const QString& sectionText);
    void setRouteFromKeypad();
    // One stop forward or back, with the step sound.
    void step(Direction direction);
    // Blanks the board and locks the route controls, or shows the row again.
    void setDisplayCleared(bool cleared);
    // The company chosen on the console, for the ticket preview.
    void setCompanyIndex(qint16 index) { companyIndex_ = index; }
    // The tape's "送り" and "戻し": the next or the previous announcement,
    // then, when the row the tape stands on carries the step flag 1, one stop
    // forward or back as by the step buttons (also when nothing was said at
    // either end of the tape).
    void playTape(Direction direction);
    // The tape's "■": the speech falls silent at once.
    void stopTape();
    // The stop name of the current row shown afresh (after the options
    // changed), without touching the fares.
    void showStopNameAgain();
    // The current row shown afresh, fares and all (after another board was
    // chosen), once a route is set and while the board is not cleared.
    void showRowAgain();

    // Puts row (1..301) on the board, its first page. Raises error 9 for a
    // row or an information cell that does not exist, as the route setting
    // reports it.
    void showRow(int row);
    // The first ticket of the page the board shows.
    int pageShown() const { return pageFirst_; }

    // True from a route setting's start to the end of its lamp test.
    bool isWaiting() const { return waiting_; }
    // True while a command runs, waits (for its sound or the lamp test) or is
    // queued behind one: the one guard that keeps the console's operations
    // from running inside each other. The windows hold the user's input
    // back meanwhile.
    bool isBusy() const { return busy_; }
    // True once a route has been set.
    bool canStep() const { return routeSet_; }
    bool isDisplayCleared() const { return cleared_; }
    const FareData::RouteState& state() const { return state_; }
    const FareData::RouteTable& table() const { return table_; }

signals:
    void keypadChanged();
    void busyChanged(bool busy);
    // canStep() or isDisplayCleared() changed.
    void controlsChanged();

private:
    using Command = std::function<void()>;
    void submit(Command command);
    void runPending();
    void finish();

    void startRouteSetting(const QString& routeText, const QString& sectionText);
    void endLampTest();
    void stepNow(Direction direction);
    void clearNow(bool cleared);
    void showCurrentRow(); // showRow of the current row, its errors told
    // The fares and information digits of row from ticket first on.
    void showPage(int row, int first);
    void turnPage(int row, int generation);
    void stopPaging();
    void tell(const QString& text);
    Board& board() const { return *board_; }

    const Settings& settings_;
    const SoundChannels& sounds_;
    AnnouncementTape& tape_;
    MessageBoxService& messages_;
    Clock& clock_;
    Board* board_ = nullptr;
    TicketPreview* preview_ = nullptr;

    FareData::RouteTable table_;
    FareData::RouteState state_;
    qint16 companyIndex_ = -1;
    bool routeSet_ = false;
    bool cleared_ = false;
    bool waiting_ = false;
    bool busy_ = false;

    enum class Entry { Route, Section };
    Entry entry_ = Entry::Section;
    QString typedRoute_;
    QString typedSection_;

    int pageFirst_ = 1;
    int pagingGeneration_ = 0; // a page turn of an older generation does nothing

    std::deque<Command> pending_;
    bool running_ = false; // a command runs (or waits for the lamp test)
};
