#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumeno"));
    QApplication::setOrganizationDomain(QStringLiteral("lumeno.app"));
    QApplication::setQuitOnLastWindowClosed(false);
    return app.exec();
}
