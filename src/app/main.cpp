#include "mainwindow.h"
#include "startup.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Names the menu entry this window belongs to, for the window system's icon and grouping.
    QGuiApplication::setDesktopFileName(QStringLiteral(OSKIVO_APP_ID));
    QCoreApplication::setApplicationVersion(QStringLiteral(OSKIVO_VERSION));

    if (!loadStyleSheet(app))
        showStyleSheetWarning();

    QTranslator translator;
    // Tags come "-"-separated, as BCP 47 writes them.
    const QStringList uiLanguages = QLocale::system().uiLanguages();
    installStartupTranslator(app, translator, uiLanguages);

    // Qt has taken its own options out of the arguments by now; what is left are paths.
    const QStringList videos = videoPathsFromArguments(app.arguments().mid(1));

    MainWindow window;
    // Without paths the window keeps the video of the last session.
    if (!videos.isEmpty())
        window.chooseVideos(videos);
    window.show();
    return app.exec();
}
