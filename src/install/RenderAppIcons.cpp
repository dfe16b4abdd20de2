// Draws the application icon into the hicolor theme's PNG files at build time, from the same painter the
// windows use, so the menus' icon and the windows' icon never drift apart.
//
//   render-app-icons <output folder> <icon name> <side>...
//   writes <output folder>/<side>x<side>/apps/<icon name>.png for each side
#include "shell/AppIcon.h"
#include "support/AtomicFile.h"

#include <QBuffer>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: render-app-icons <output folder> <icon name> <side>...\n");
        return 2;
    }
    for (const QString& sideText : arguments.mid(3)) {
        bool isNumber = false;
        const int side = sideText.toInt(&isNumber);
        if (!isNumber || side <= 0) {
            std::fprintf(stderr, "render-app-icons: %s is no icon size\n", qPrintable(sideText));
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments[1]).arg(side);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, arguments[2]);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        lumeno::AppIcon::image(side).save(&buffer, "PNG");
        std::optional<QString> problem = lumeno::AtomicFile::makeDirectory(folder);
        if (!problem)
            problem = lumeno::AtomicFile::write(path, png);
        if (problem) {
            std::fprintf(stderr, "render-app-icons: %s\n", qPrintable(*problem));
            return 1;
        }
    }
    return 0;
}
