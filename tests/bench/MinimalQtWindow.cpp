// The baseline of the start-up benchmark: the least a Qt program does to show
// a window: make the application, show an empty window, paint it once into a
// picture file and end.

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(809, 533);
    window.show();
    QTimer::singleShot(0, [&] {
        window.grab().save(argc > 1 ? argv[1] : "/dev/null", "PNG");
        application.quit();
    });
    return application.exec();
}
