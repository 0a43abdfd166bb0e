#pragma once

#include "app/Form1Services.h"
#include "app/WindowPointer.h"

#include <QHash>
#include <QWidget>

class CheckButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;

// The program's one window. Its working state lives in its controls between
// user actions: the workbook path, the block address, the column list with
// its selection, the colour name and the entire-row option. Each control
// event has one handler, named after the control and the event.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // Builds the controls and runs the start-up sequence (Form_Load); the
    // caller shows the window.
    explicit Form1(Form1Services services, QWidget* parent = nullptr);

    // The window's pointer: 0 the default, 11 the hourglass, 99 the custom
    // pointer. Shown over the whole window, controls included.
    int mousePointer() const { return pointer_.value(); }
    void setMousePointer(int value) { pointer_.setValue(value); }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void placeControls();
    void setFocusOrder();
    void connectHandlers();

    void Form_Load();

    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Check6_Click();
    void Check7_Click();

    void Form_MouseMove();
    void Frame1_MouseMove();
    void List1_MouseMove();
    void Check1_MouseMove();
    void Check2_MouseMove();
    void Check3_MouseMove();
    void Check4_MouseMove();
    void Check5_MouseMove();
    void Check6_MouseMove();

    void chooseBlock();
    void highlight(bool exceptFirst);

    Form1Services services_;
    WindowPointer pointer_{this};
    QHash<QObject*, void (Form1::*)()> mouseMoveHandlers_;

    QLabel* Label2 = nullptr;
    QLineEdit* txtExcelFile = nullptr;
    CheckButton* Check4 = nullptr;
    // Elements 0 and 2 of one label group; both carry the name lblStartColumn.
    QLabel* lblStartColumn0 = nullptr;
    QLabel* lblStartColumn2 = nullptr;
    QLineEdit* txtSelection = nullptr;
    CheckButton* Check2 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QListWidget* List1 = nullptr;
    CheckButton* Check1 = nullptr;
    CheckButton* Check3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QCheckBox* Check7 = nullptr;
    CheckButton* Check5 = nullptr;
    CheckButton* Check6 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
};
