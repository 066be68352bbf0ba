#include "modalboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTest>

namespace {

ModalBoxes::Box describe(const QWidget& modal) {
    ModalBoxes::Box box;
    box.title = modal.windowTitle();
    if (const auto* message = qobject_cast<const QMessageBox*>(&modal)) {
        box.text = message->text();
        box.icon = message->icon();
        box.buttons = message->standardButtons();
        box.buttonCount = message->buttons().size();
    }
    return box;
}

void closeWay(QWidget& modal, ModalBoxes::Close how) {
    switch (how) {
        case ModalBoxes::Close::OkButton:
            if (auto* message = qobject_cast<QMessageBox*>(&modal)) {
                if (QAbstractButton* ok = message->button(QMessageBox::Ok)) {
                    ok->click();
                }
            }
            return;
        case ModalBoxes::Close::EscapeKey:
            QTest::keyClick(&modal, Qt::Key_Escape);
            return;
        case ModalBoxes::Close::CloseBox:
            modal.close();
            return;
    }
}

// For a box that would not close the asked way: end it so the test can go on and fail.
void forceClosed(QWidget& modal) {
    if (auto* dialog = qobject_cast<QDialog*>(&modal)) {
        dialog->done(QDialog::Rejected);
    } else {
        modal.hide();
    }
}

}  // namespace

ModalBoxes::ModalBoxes() {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &ModalBoxes::poll);
    timer_.start();
}

void ModalBoxes::expect(Close how) {
    expected_.append(how);
}

void ModalBoxes::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        return;
    }
    if (modal == handled_) {
        // Still open after being closed the asked way: give it a moment, then force it.
        if (++pollsSinceHandled_ > 50) {
            unexpected_.append(modal->windowTitle() + QStringLiteral(" (would not close)"));
            forceClosed(*modal);
        }
        return;
    }
    handled_ = modal;
    pollsSinceHandled_ = 0;
    if (expected_.isEmpty()) {
        unexpected_.append(modal->windowTitle());
        forceClosed(*modal);
        return;
    }
    seen_.append(describe(*modal));
    closeWay(*modal, expected_.takeFirst());
}
