// The desktop program: one main window; the program ends when it closes.
#include "AppIcon.h"
#include "frmTobExtractor.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TobExtractor"));
    QApplication::setWindowIcon(tobx::AppIcon());
    tobx::frmTobExtractor window;
    window.show();
    return QApplication::exec();
}
