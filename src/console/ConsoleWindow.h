#pragma once
// The console "集中操作盤": route and section entry by keypad or digit lists,
// stepping, display clear, late-night fares, backlight, the stop-name scroll
// bars, the announcement tape buttons, options, version and the boarding-ticket
// preview. It owns the route table and the route state.

#include "model/FareData.h"
#include "model/AnnouncementTape.h"

#include <QRegion>
#include <QWidget>
#include <array>

class DblClickFrame;
class K40Windows;
class PictureBox;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;
struct SettingsRecord;

class ConsoleWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConsoleWindow(K40Windows& host, QWidget* parent = nullptr);
    ~ConsoleWindow() override;

    // Entry panels: 0 the digit lists, 1 the keypad.
    std::array<DblClickFrame*, 2> Frame1{};
    std::array<QListWidget*, 5> List2{};
    std::array<QListWidget*, 3> List3{};
    std::array<QPushButton*, 12> CommandButton1{}; // 0..9, 10 "系統", 11 "区間"
    std::array<QLabel*, 3> Label2{};               // route digits, "-", section digits
    std::array<QPushButton*, 2> Command1{};        // "リセット" of each panel

    std::array<QPushButton*, 2> Command2{}; // 0 "データ戻し", 1 "データ送り"
    QCheckBox* Check1 = nullptr;            // "表示消去"
    QGroupBox* Frame2 = nullptr;            // "バックライト"
    std::array<QPushButton*, 3> Option4{};  // "OFF", "ON1", "ON2"
    QGroupBox* Frame6 = nullptr;
    QCheckBox* Check2 = nullptr;            // "深夜料金"
    std::array<QScrollBar*, 2> HScroll1{};  // scroll speed, scroll interval
    std::array<QLabel*, 2> Label1{};        // their values
    std::array<QLabel*, 2> Label3{};        // their captions

    QGroupBox* grpM_Tape = nullptr;
    QPushButton* cmdTapeBack = nullptr;
    QPushButton* cmdTapeNext = nullptr;
    QPushButton* cmdTapeStop = nullptr;
    QPushButton* cmdTapeSet = nullptr;

    QPushButton* Command4 = nullptr; // "設定..."
    QPushButton* Command8 = nullptr; // "ﾊﾞｰｼﾞｮﾝ"
    QPushButton* Check4 = nullptr;   // the preview switch ">>" / "<<"
    QLabel* Label4 = nullptr;
    PictureBox* picSeirikenPrev = nullptr;
    QComboBox* Combo1 = nullptr;     // company names of the ticket plug-in
    QMenu* MnuHide = nullptr;
    QAction* MnuHideCopy = nullptr;

    // Route state and table.
    FareData::RouteTable routeTable;
    FareData::RouteState routeState;
    // The announcement tape of the route.
    AnnouncementTape tape;

    // The keypad's entry target and the entry panel sent to the back last.
    enum class EntryTarget { Route, Section };
    EntryTarget entryTarget = EntryTarget::Section;
    qint16 frontPanelMode = 0;
    std::array<QRegion, 12> keyRegions;

    // Handlers.
    void Form_Load();
    void CommandButton1_Click(int index);
    void List2_Click(int index);
    void List3_Click(int index);
    void Frame1_DblClick(int index);
    void Command1_Click(int index);
    void Command2_Click(int index);
    void Check1_Click();
    void HScroll1_Change(int index);
    void Option4_Click(int index);
    void Command4_Click();
    void Command8_Click();
    void Check4_Click();
    void MnuHideCopy_Click();
    // Asks whether to end; on Yes runs the shutdown order. Returns whether
    // the program ends.
    bool Form_QueryUnload();

    // The speech engine and the tape group: created at load, released at exit.
    void InitSpeech();
    void ReleaseSpeech();
    // Loads the route's announcements; a missing or bad file disables the
    // tape group, silently.
    void LoadTape(const QString& folderWithSeparator, const QString& route);

    // Puts row of the route table on the displays.
    void DispData(int row);

    void GetCtrlDataInfo(SettingsRecord& record) const;
    void SetCtrlDataInfo(const SettingsRecord& record);

    // The backlight mode selected on the console: 0 OFF, 1 ON1, 2 ON2.
    int backlightMode() const;
    // The ticket plug-in's preview size, in twips.
    void setPreviewSize(qint32 widthTwips, qint32 heightTwips);
    // The version text of the version box.
    static QString versionText();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildEntryPanels();
    void buildControls();
    void playSound(const QString& file, const QString& channel, bool sync);
    void showError(const QString& text);
    void setPreviewOpen(bool open);
    void redraw(); // DispData of the current row, its errors reported

    K40Windows& host_;
};
