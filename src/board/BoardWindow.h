#pragma once
// The fare board: a borderless window with rounded corners, dragged by the
// left button, showing the panel picture with its ticket-number labels, each
// above a three-digit fare cell, the stop-name strip and the (hidden) clock
// digits. The 24-cell board is 582 × 292 pixels at 100 %; a larger board
// chosen in the settings (30 to 60 cells) grows the window and its built-in
// picture. At another size (150 % to 400 %, from the menu or Ctrl with plus,
// minus and 0) everything is drawn at that size: the digits from their face,
// the dots at their pitch, the labels in their type, the built-in picture by
// code; a user's picture is scaled smoothly. Full screen (F11 or the menu;
// Esc or F11 leaves) the board stands at the largest size that fits the
// screen, centred on black, and the mouse pointer hides after 3 s of
// stillness.
//
// The route session writes the fares and stop names (RouteSession::Board).
// The settings reach the board through applyAppearance(); the backlight
// switches the panel picture and the colour of the ticket numbers.

#include "model/Backlight.h"
#include "model/ConsoleCommand.h"
#include "model/RouteSession.h"
#include "widgets/StopNameDisplay.h"

#include <QPixmap>
#include <QWidget>
#include <array>
#include <vector>

class Clock;
class CompanionDialogs;
class MessageBoxService;
class QActionGroup;
class QLabel;
class QMenu;
class QTimer;
class SegmentDisplay;
class Settings;

class BoardWindow : public QWidget, public RouteSession::Board {
    Q_OBJECT
public:
    BoardWindow(Settings& settings, MessageBoxService& messages, CompanionDialogs* dialogs,
                Clock* clock, QWidget* parent = nullptr);
    ~BoardWindow() override;

    // Numbered as the board numbers them; index 0 of ticketLabels and
    // fareCells is a hidden spare that no layout addresses.
    // The largest panel picture file read: pictures of the board are a few
    // hundred kilobytes, even uncompressed.
    static constexpr qint64 MaxPictureBytes = 32 * 1024 * 1024;

    std::vector<QLabel*> ticketLabels;
    std::vector<SegmentDisplay*> fareCells;
    std::array<SegmentDisplay*, 2> clockDigits{}; // hours, minutes
    StopNameDisplay* stopNameDisplay = nullptr;
    QTimer* clockTimer = nullptr;
    // The right-click menu: the console's stepping and tape commands, each
    // with its keys, which the board takes while it is the active window.
    QMenu* menu = nullptr;

    // The settings applied: the board's cells (made afresh, showing 0, when
    // another board is chosen), ticket numbers shown or not, their layout,
    // the colours of the digits, the stop-name strip, and the look of the
    // backlight in use.
    void applyAppearance();
    // The board the cells are laid out for.
    const BoardChoice& grid() const { return grid_; }
    // How many times its size at 100 % the board stands: the settings' size,
    // or full screen the largest that fits the screen.
    qreal scale() const { return scale_; }
    // The size, full screen and screen that the settings give. Full screen
    // takes the screen chosen, else the one the board stands on.
    void applyView();
    bool isShownFullScreen() const { return fullScreen_; }
    // Where the board's top left corner stands in the window: (0, 0), or
    // full screen where the board is centred.
    QPoint origin() const { return origin_; }
    // Where the window stands, or stood before it went full screen.
    QPoint windowedPosition() const { return fullScreen_ ? windowedPos_ : pos(); }
    // How long the pointer shows over the full-screen board once it is still.
    static constexpr int PointerHideMs = 3000;

    // The backlight: the panel picture and ticket-number colour of mode. A
    // user's picture that is missing leaves the picture as it is; one that
    // cannot be read is told in an error box.
    void setBacklight(Backlight mode);
    Backlight backlight() const { return backlight_; }

    // The digit options and colours of the fare cells and the stop-name
    // strip's look as a settings file gives them; the cells go blank, and the
    // options they keep become the settings' own.
    void takeStoredDisplays(const SettingsRecord& stored);
    // The digit options of the 24 fare cells as they show them.
    std::array<DigitCellOptions, 24> cellOptions() const;
    // Opens the digit settings of fare cell i (when it lets the user set
    // them); accepted, the options go to all the cells, which keep their
    // values.
    void editCellOptions(int i);

    // The picture behind the cells, drawn from the top left; the rest of the
    // board stays grey.
    const QPixmap& picture() const { return picture_; }
    void setPicture(const QPixmap& picture);
    // The built-in picture of the board chosen.
    QPixmap builtInPicture() const;
    // The colour of ticket-number label i.
    BgrColor ticketNumberColor(int i) const;

    // Gives the window its rounded shape (corner ellipse 3 × 3 pixels).
    void applyRoundShape();
    // Shows the clock's hours and minutes (every second while it runs).
    void showTime();

    // RouteSession::Board
    void setCellValue(int cell, const DigitValue& value) override;
    void resetCells(bool allLit) override;
    void setClockRunning(bool running) override;
    qint16 prefixMode() const override;
    void setPrefixMode(qint16 mode) override;
    void showStopName(const QString& name) override;
    void showTicketPage(int firstTicket) override;

signals:
    // A fare cell's digit settings dialog opens (true) or closes (false).
    void cellDialogOpen(bool open);
    // A console command chosen on the board, by its key or from the menu.
    void commandChosen(ConsoleCommand command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Full screen, every move of the mouse over the window shows the pointer.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The board is never closed by itself; the program ends from the console.
    void closeEvent(QCloseEvent* event) override;

private:
    // The cells and labels of board, in place of those there were.
    void makeCells(const BoardChoice& board);
    // Places and sizes everything for the scale.
    void layOut();
    void buildMenu();
    // The screens' list of the menu, as they are now.
    void listScreens();
    // Shows the pointer, and hides it again after PointerHideMs of stillness.
    void showPointer();
    void showTicketNumbers(qint16 layout, qint16 zeroPad, int firstTicket);
    void colorTicketNumbers(BgrColor color);
    static void colorDigits(SegmentDisplay& digits, const SettingsRecord& settings);
    // The strip's look as the settings give it.
    static StopNameDisplay::Look stripLook(const SettingsRecord& settings);

    Settings& settings_;
    MessageBoxService& messages_;
    Clock* clock_;
    CompanionDialogs* dialogs_;
    BoardChoice grid_;
    QFont labelFont_;
    Backlight backlight_ = Backlight::On2;
    QPixmap picture_;
    bool builtInShown_ = true; // picture_ is the built-in picture
    QPixmap drawnArt_;         // the built-in picture at drawnArtRatio_ times 100 %
    qreal drawnArtRatio_ = 0;
    qreal scale_ = 1;
    int firstLabelPixels_ = 0; // the type size of label 1 at 100 %, which its layout sets
    QActionGroup* scaleGroup_ = nullptr;
    QAction* fullScreenAction_ = nullptr;
    QMenu* screensMenu_ = nullptr;
    bool fullScreen_ = false;
    QPoint origin_;
    QPoint windowedPos_;
    bool roundShape_ = false;
    int pointerGeneration_ = 0;
    QPoint dragOffset_;
    bool manualDrag_ = false;
};
