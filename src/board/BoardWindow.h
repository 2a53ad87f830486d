#pragma once
// The fare panel: the board itself. A borderless window of 582 x 292 pixels
// with rounded corners, dragged by the left button, showing the panel picture
// with 24 ticket-number labels, each above a three-digit fare cell, the
// stop-name strip and the (hidden) clock digits.

#include <QPixmap>
#include <QWidget>
#include <array>

class StopNameDisplay;
class K40Windows;
class SegmentDisplay;
class QLabel;
class QTimer;
struct SettingsRecord;

class BoardWindow : public QWidget {
    Q_OBJECT
public:
    explicit BoardWindow(K40Windows& host, QWidget* parent = nullptr);
    ~BoardWindow() override;

    // Controls, indexed as the board numbers them; index 0 of lblSeiriNum and
    // Degit is a hidden spare.
    std::array<QLabel*, 25> lblSeiriNum{};
    std::array<SegmentDisplay*, 25> Degit{};
    std::array<SegmentDisplay*, 2> TimeDegit{};
    StopNameDisplay* ChimeiCtl = nullptr;
    std::array<QPixmap, 3> imgRes; // picture stores of the backlight modes
    QTimer* Timer1 = nullptr;

    // The panel picture, drawn from the top left; the rest stays grey.
    const QPixmap& Picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

    // The built-in board picture.
    static QPixmap builtInPicture();

    // Gives the window its rounded shape (corner ellipse 3 x 3 pixels).
    void applyRoundRegion();
    // The exit hook of the window region; the region belongs to the window
    // system, so nothing is freed.
    void DeleteRgn() {}
    // Window position in twips to and from the settings record.
    void GetFormInfo(SettingsRecord& record) const;
    void SetFormInfo(const SettingsRecord& record);

    void Timer1_Timer();
    void Degit_DblClick(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The board is never closed by itself; the program ends from the console.
    void closeEvent(QCloseEvent* event) override;

private:
    K40Windows& host_;
    QPixmap picture_;
    QPoint dragOffset_;
    bool manualDrag_ = false;
};
