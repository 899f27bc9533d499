// Renders the program's icon (desktop/kippurun.svg) at the sizes the window
// carries: the window then needs neither an SVG renderer nor an image
// decoder to start. The pixels are Qt's own SVG icon engine's, the same the
// window system got when the window carried the SVG. The sizes the window
// system is offered (16 to 128 px) are written as raw ARGB32 pixels in the
// machine's byte order, the larger one as PNG.
// Usage: kippurun_render_icon SVG OUTDIR
#include <cstdio>

#include <QDir>
#include <QFile>
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
        const QImage image =
            icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32);
        bool written = image.size() == QSize(side, side);
        if (written && side > 128) {
            written = image.save(out.filePath(QStringLiteral("kippurun-%1.png").arg(side)), "PNG");
        } else if (written) {
            QFile file(out.filePath(QStringLiteral("kippurun-%1.argb").arg(side)));
            const auto bytes = static_cast<qint64>(image.sizeInBytes());
            written = file.open(QIODevice::WriteOnly) &&
                      file.write(reinterpret_cast<const char*>(image.constBits()), bytes) == bytes;
        }
        if (!written) {
            std::fprintf(stderr, "%s: cannot render %s at %d px\n", argv[0], argv[1], side);
            return 1;
        }
    }
    return 0;
}
