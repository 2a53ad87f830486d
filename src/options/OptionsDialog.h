#pragma once
// The options dialog "オプション": six pages that edit every setting. Its
// controls are the live store of the settings for the whole run; the other
// windows read a setting from the control that holds it when they use it.
// OK applies the display settings to the board and hides the dialog.

#include "model/FareRow.h"
#include "widgets/CompanionDialogs.h"

#include <QDialog>
#include <array>
#include <functional>

class ColorButton;
class K40Windows;
class SegmentDisplay;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
struct SettingsRecord;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(K40Windows& host, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    // Page selector and OK.
    std::array<QRadioButton*, 6> Option1{};
    std::array<QGroupBox*, 6> Frame1{};
    QPushButton* Command4 = nullptr;

    // Page 0: data folders.
    std::array<QLabel*, 2> Label3{};
    std::array<QLineEdit*, 2> Text2{};
    std::array<QPushButton*, 2> Command3{};
    std::array<QPushButton*, 2> Command10{};

    // Page 1: ticket numbers and panel pictures.
    QCheckBox* Check1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QComboBox* Combo2 = nullptr;
    std::array<ColorButton*, 3> Command5{};
    QCheckBox* Check2 = nullptr;
    QGroupBox* Frame4 = nullptr;
    std::array<QRadioButton*, 8> Option3{};
    std::array<QGroupBox*, 3> Frame6{};
    std::array<QLineEdit*, 3> txtSelectPanel{};
    std::array<QPushButton*, 3> Command6{};

    // Page 2: digit colours and information digits.
    std::array<ColorButton*, 3> Command8{};
    SegmentDisplay* M_Degit1 = nullptr;
    std::array<QCheckBox*, 5> Check3{};
    std::array<QComboBox*, 5> Combo4{};

    // Page 3: stop-name display.
    std::array<ColorButton*, 3> Command9{};
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo5 = nullptr;
    QComboBox* Combo6 = nullptr;
    QCheckBox* Check4 = nullptr;
    QCheckBox* Check5 = nullptr;

    // Page 4: sounds (index 2 of the sound arrays does not exist).
    std::array<QLineEdit*, 11> txtSelectSound{};
    std::array<QPushButton*, 11> cmdSelectSound{};
    std::array<QRadioButton*, 2> Option5{};
    std::array<QGroupBox*, 2> Frame2{};
    std::array<QRadioButton*, 4> Option2{};
    std::array<QRadioButton*, 2> Option6{};
    std::array<QRadioButton*, 2> Option7{};
    QComboBox* Combo1 = nullptr;

    // Page 5: ticket preview.
    QCheckBox* chkUseSeiriPrev = nullptr;
    QGroupBox* Frame10 = nullptr;
    QGroupBox* Frame7 = nullptr;
    QLineEdit* txtSeiriPlgDir = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command11 = nullptr;
    QListWidget* List1 = nullptr;
    QPlainTextEdit* txtPlginComment = nullptr;
    std::array<QRadioButton*, 3> Option4{};
    QLabel* Label10 = nullptr;
    QPushButton* Command7 = nullptr;

    // The colour chooser's custom colours (block 9 of the settings file).
    CustomColorTable CustomColors{};

    // Settings record transfer of blocks 1 to 6, in file order. SetOptionInfo
    // raises error 380 for a value that a control does not accept; what was
    // transferred before it stays.
    void GetOptionInfo(SettingsRecord& record) const;
    void SetOptionInfo(const SettingsRecord& record);

    void SetProp();
    qint32 SetPlgin(const QString& path);
    void AddComboItem();
    QString GetPathString();
    void GetBtnColor(ColorButton* button);

    // Settings as the other windows read them, straight from the controls.
    QString fareDataDir() const;
    QString tapeDataDir() const;
    QString soundFile(int index) const; // txtSelectSound(index)
    FareRow::Options displayOptions(bool lateNight, qint16 companyIndex) const;
    FareRow::DateMode dateMode() const;
    QString fixedDate() const;

    // Opens a folder in the desktop's file manager; replaced in tests.
    std::function<bool(const QString&)> openFolder;

    // Shows page i, as a click on its page button does.
    void showPage(int i);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename Op, typename R> void transfer(Op& op, R& record) const;
    void buildPage0();
    void buildPage1();
    void buildPage2();
    void buildPage3();
    void buildPage4();
    void buildPage5();
    void applyEnablingRules();
    void updatePreviewDigit();
    void chooseSound(int index);
    void choosePanel(int index);
    void choosePlugin();
    void chooseDate();

    K40Windows& host_;
    QStackedWidget* pages_ = nullptr;
    QStackedWidget* soundPages_ = nullptr;
};
