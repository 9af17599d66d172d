#include "frame/Parameter_und_Start.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorad Logo-Kalvoren"));
    QApplication::setQuitOnLastWindowClosed(false);
    Parameter_und_Start::Main();
    return app.exec();
}
