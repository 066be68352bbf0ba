#pragma once

// FormSurface: a window's client area, which paints its own background colour.

#include <QColor>
#include <QWidget>

namespace forms {

// A window's client area: it paints its own background colour and does not hand it on to the
// controls on it, so standard buttons and the menu bar keep the system look.
class FormSurface : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    void setFill(const QColor& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
};

}  // namespace forms
