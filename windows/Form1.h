#pragma once

#include <QLocale>
#include <QMainWindow>
#include <QMessageBox>
#include <QString>

#include "calculator/calculatorstate.h"

class QAction;
class QLabel;

namespace forms {
class CommandButton;
class FormSurface;
class TextBox;
}  // namespace forms

// The main window: the entry box, the message label, the three buttons and the menu bar.
// Every button and menu item runs one command of the calculator it owns and shows the result.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // decimalSeparator: written into every number the messages show; the user's locale's by
    // default.
    explicit Form1(const QString& decimalSeparator = QLocale::system().decimalPoint(),
                   QWidget* parent = nullptr);

    // The client area below the menu bar. Its direct children are the controls, named as the
    // form names them (Text1, Label1, Command1...); the colour-scheme window finds them here.
    forms::FormSurface* clientArea() const { return clientArea_; }

private:
    void buildWidgets();
    void buildMenu();
    void connectEvents();
    void placeWindow();

    // One handler per control event.
    void onCommand1Click();
    void onCommand2Click();
    void onCommand3Click();
    void onSubmnuPocetClick();
    void onSubmnuPosledniClick();
    void onSubmnuMezikalvetClick();
    void onSubmnuEndClick();
    void onSubmnuSkinyClick();

    // Runs one calculator command and shows its result; an overflow is reported instead and
    // changes nothing.
    template <typename Command>
    void run(Command command);
    void apply(const calculator::CommandResult& result);
    void showBox(QMessageBox::Icon icon, const QString& title, const QString& text);
    QAction* action(const char* name) const;

    calculator::CalculatorState state_;
    forms::FormSurface* clientArea_ = nullptr;
    forms::TextBox* text1_ = nullptr;
    QLabel* label1_ = nullptr;
    forms::CommandButton* command1_ = nullptr;
    forms::CommandButton* command2_ = nullptr;
    forms::CommandButton* command3_ = nullptr;
};
