#include "ZentrelApp.h"

#include "AppDelegate.h"
#include "AppIdentity.h"
#include "PlatformChoice.h"
#include "SingleInstance.h"

#include <QDBusConnection>

namespace {
QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}
} // namespace

int ZentrelApp::main(int argc, char* argv[]) {
    // Must happen before the application object exists: it picks the platform plugin.
    if (shouldPreferXcb(QProcessEnvironment::systemEnvironment(), argumentsOf(argc, argv)))
        qputenv("QT_QPA_PLATFORM", "xcb");
    ZentrelApp app(argc, argv);
    return app.run();
}

ZentrelApp::ZentrelApp(int& argc, char* argv[])
    : m_application(argc, argv) {
    QApplication::setApplicationName(QStringLiteral("Zentrel"));
    QApplication::setApplicationVersion(AppIdentity::appVersion());
    QApplication::setDesktopFileName(AppIdentity::applicationId);
    QApplication::setQuitOnLastWindowClosed(false);
}

ZentrelApp::~ZentrelApp() = default;

int ZentrelApp::run() {
    m_singleInstance = std::make_unique<SingleInstance>(QDBusConnection::sessionBus());
    if (!m_singleInstance->claim())
        return 0;
    m_delegate = std::make_unique<AppDelegate>();
    QObject::connect(m_singleInstance.get(), &SingleInstance::showPanelRequested, m_delegate.get(),
                     [this] { m_delegate->showPanel(); });
    m_delegate->applicationDidFinishLaunching();
    return QApplication::exec();
}
