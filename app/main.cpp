#include <QApplication>
#include <QIcon>

#include "gui/chart/birth_files.h"
#include "gui/chart/frm_main.h"
#include "gui/chart/single_instance.h"
#include "gui/kit/appearance.h"
#include "gui/kit/message_box.h"
#include "orvanta_version.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("orvanta"));
    app.setApplicationVersion(QStringLiteral(ORVANTA_VERSION));
    // Links the windows to the installed desktop entry (task bars on Wayland find the
    // icon through it); every window without an icon of its own takes this one.
    QGuiApplication::setDesktopFileName(QStringLiteral(ORVANTA_APP_ID));
    QIcon icon;
    for (const char* size : {"48", "256"})
        icon.addFile(QStringLiteral(":/orvanta/" ORVANTA_APP_ID "-") + QLatin1String(size) + QStringLiteral(".png"));
    QApplication::setWindowIcon(icon);
    orvanta::InstallAppearance(app);

    const orvanta::SingleInstance instance;
    if (!instance.isFirst()) {
        // No window of this instance exists yet, so ending here leaves nothing open,
        // and the running instance is not touched. The line on the error stream is for
        // whoever started the program from a terminal.
        qInfo("Application is already running");
        orvanta::ShowMessage(nullptr, {"Application is already running", orvanta::Icon::Information,
                                       orvanta::Control::None});
        return 0;
    }

    orvanta::FrmMain main;
    main.show();
    // `orvanta FILE`: the birth details of a file opened at start.
    if (const QStringList arguments = QCoreApplication::arguments(); arguments.size() > 1) {
        main.files()->openFile(arguments.at(1));
    }
    return app.exec();
}
