// A drag source for the drop benchmark: a small window that, pressed with the mouse, drags the
// text of a file (as text/plain) until the button is let go over a drop target.
//
//     drag_source FILE

#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

#include <cstdio>
#include <utility>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QString text) : text_(std::move(text)) {
        setWindowTitle(QStringLiteral("Drag source"));
        setGeometry(20, 20, 120, 60);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setText(text_);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        std::printf("%s\n", action == Qt::IgnoreAction ? "not dropped" : "dropped");
        std::fflush(stdout);
    }

private:
    QString text_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drag_source FILE\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "drag_source: cannot read %s\n", argv[1]);
        return 1;
    }
    DragSource source(QString::fromUtf8(file.readAll()));
    source.show();
    return application.exec();
}
