// The baseline of the start-up benchmark: the least a Qt program does to show
// a window: make the application, show an empty window, paint it once into a
// picture file and end. The file is written as vellumry writes its snapshot
// (PNG at the same deflate setting), so that both sides do the same work.

#include <QApplication>
#include <QImageWriter>
#include <QTimer>
#include <QWidget>

namespace {

// The compression vellumry's snapshot writer sets.
constexpr int kSnapshotCompression = 30;

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(809, 533);
    window.show();
    QTimer::singleShot(0, [&] {
        QImageWriter writer(QString::fromUtf8(argc > 1 ? argv[1] : "/dev/null"), "PNG");
        writer.setCompression(kSnapshotCompression);
        writer.write(window.grab().toImage());
        application.quit();
    });
    return application.exec();
}
