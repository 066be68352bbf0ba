#pragma once

#include <QLocale>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <array>

#include "calculator/calculatorstate.h"
#include "windows/forms/commandbutton.h"
#include "windows/forms/formsurface.h"
#include "windows/forms/label.h"
#include "windows/forms/textbox.h"

class Form2;

// The main window: the entry box, the message label, the three buttons and the menu bar.
// Every button and menu item runs one command of the calculator it owns and shows the result.
// Its central widget is the client area, whose direct children are the controls, named as the
// form names them (Text1, Label1, Command1...).
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // decimalSeparator: written into every number the messages show; the user's locale's by
    // default.
    explicit Form1(const QString& decimalSeparator = QLocale::system().decimalPoint(),
                   QWidget* parent = nullptr);
    ~Form1() override;

private:
    struct Design;  // what the window shows and which handler each control runs

    void buildWidgets();
    void buildMenu();
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

    calculator::CalculatorState state_;
    forms::FormSurface* clientArea_ = nullptr;
    forms::TextBox* text1_ = nullptr;
    forms::Label* label1_ = nullptr;
    std::array<forms::CommandButton*, 3> commands_{};  // Command1 to Command3
    // The colour-scheme window while it exists. It is a top-level window of its own (a window
    // with a parent would not keep the program running once this one closes), so this window
    // deletes it when it goes itself.
    QPointer<Form2> form2_;
};
