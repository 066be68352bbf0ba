#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

// Closes the modal boxes a test opens, so that no test ever hangs on one. A box the test
// announced with expect() is recorded and closed the way it asked; any other box is closed
// too and counted, and the fixture fails the test for it.
class ModalBoxes : public QObject {
    Q_OBJECT
public:
    // The ways a user closes a box.
    enum class Close { OkButton, EscapeKey, CloseBox };

    // What a box showed.
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        qsizetype buttonCount = 0;
    };

    ModalBoxes();

    // The next box to open is expected and is to be closed this way.
    void expect(Close how);

    // The expected boxes that opened, in order.
    const QList<Box>& seen() const { return seen_; }
    // Titles of boxes that opened without being expected.
    const QStringList& unexpected() const { return unexpected_; }
    // Expected boxes that never opened.
    qsizetype stillExpected() const { return expected_.size(); }

private:
    void poll();

    QTimer timer_;
    QList<Close> expected_;
    QList<Box> seen_;
    QStringList unexpected_;
    QPointer<QWidget> handled_;
    int pollsSinceHandled_ = 0;
};
