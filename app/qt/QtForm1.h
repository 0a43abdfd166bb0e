#pragma once

#include "app/Form1.h"
#include "app/Form1Face.h"
#include "app/qt/PointerShapes.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class CheckButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QProgressBar;

// The dialogs the Qt window shows; tests put in their own.
struct QtDialogs {
    // The workbook file dialog, given the path already in the window: the
    // chosen full path, or empty when cancelled.
    std::function<QString(QWidget* parent, const QString& currentPath)> chooseWorkbookFile;
    // A message box with an OK button only, no icon and the given title.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> showMessage;

    static QtDialogs desktop();
};

// Form1 drawn with Qt Widgets, on Linux: makes the controls, lays them out
// and passes their events on to the window's logic (app/Form1), which runs
// its start-up sequence here; the caller shows the window.
class QtForm1 : public QWidget, private Form1Face {
    Q_OBJECT
public:
    explicit QtForm1(Form1Services services, QtDialogs dialogs = QtDialogs::desktop(),
                     QWidget* parent = nullptr);

    int mousePointer() const { return logic_.mousePointer(); }
    void setMousePointer(int value) { logic_.setMousePointer(value); }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Control = Form1Layout::Control;

    void createControls();
    void placeControls();
    void setFocusOrder();
    void connectHandlers();

    QWidget* control(Control which) const;
    CheckButton* button(Control which) const;
    QLineEdit* textBox(Control which) const;
    QListWidget* list() const;
    QComboBox* combo() const;
    QCheckBox* check7() const;
    QProgressBar* progressBar() const;

    // Form1Face
    void setCaption(const std::string& caption) override;
    void centreOnScreen() override;
    void loadCustomPointer(const std::filesystem::path& file) override;
    void showPointer(int value) override;
    void closeSoon() override;
    std::string text(Control box) const override;
    void setText(Control box, const std::string& text) override;
    int value(Control control) const override;
    void setValue(Control control, int value) override;
    int columnCount() const override;
    bool isColumnSelected(int index) const override;
    void selectColumn(int index, bool selected) override;
    void setColumns(const std::vector<std::string>& names) override;
    void addColour(const std::string& name, dupes::HighlightColour colour) override;
    void chooseColourAt(int index) override;
    std::optional<dupes::HighlightColour> chosenColour() const override;
    void makeProgressBarWhite() override;
    void setProgress(int percent) override;
    std::string askForWorkbookFile(const std::string& currentPath) override;
    void showMessage(const std::string& title, const std::string& text) override;
    void waitWithoutInput(const std::function<bool()>& done, const std::function<void()>& tick,
                          const std::function<void()>& closeAsked) override;

    QtDialogs dialogs_;
    PointerShapes pointer_{this};
    std::array<QWidget*, Form1Layout::places.size()> controls_{};
    QHash<QObject*, void (Form1::*)()> mouseMoveHandlers_;
    Form1 logic_;
};
