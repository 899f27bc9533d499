// Renders the program's icon (desktop/kippurun.svg) at the sizes the window
// carries, as PNG files: the window then needs no SVG renderer to start.
// The pixels are Qt's own SVG icon engine's, the same the window system got
// when the window carried the SVG. Usage: kippurun_render_icon SVG OUTDIR
#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SVG OUTDIR\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QIcon icon(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (const int side : {16, 32, 64, 128, 256}) {
        const QImage image = icon.pixmap(side, side).toImage();
        const QString file = out.filePath(QStringLiteral("kippurun-%1.png").arg(side));
        if (image.size() != QSize(side, side) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "%s: cannot render %s at %d px\n", argv[0], argv[1], side);
            return 1;
        }
    }
    return 0;
}
