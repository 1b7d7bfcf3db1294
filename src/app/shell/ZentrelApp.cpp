#include "app/shell/ZentrelApp.h"

#include "app/cli/CommandLine.h"
#include "app/cli/Tool.h"
#include "app/dbus/ZentrelService.h"
#include "app/shell/AppDelegate.h"
#include "app/shell/DisplayCheck.h"
#include "app/shell/PlatformChoice.h"
#include "app/shell/SingleInstance.h"
#include "common/AppIdentity.h"

#include <QDBusConnection>
#include <cstdio>

namespace {
QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

void nameApplication() {
    QCoreApplication::setApplicationName(AppIdentity::applicationName);
    QCoreApplication::setApplicationVersion(AppIdentity::appVersion());
}

// The commands for bars and scripts need no display, so they run without the GUI application.
int runTool(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    nameApplication();
    const auto parsed = CommandLine().parse(QCoreApplication::arguments());
    if (const auto* invocation = std::get_if<Invocation>(&parsed)) {
        return Tool(*invocation).run();
    }
    return std::get<int>(parsed);
}
} // namespace

int ZentrelApp::main(int argc, char* argv[]) {
    const QStringList arguments = argumentsOf(argc, argv);
    if (!CommandLine::runsApplication(arguments)) {
        return runTool(argc, argv);
    }
    // Must happen before the application object exists: it picks the platform plugin.
    if (shouldPreferXcb(QProcessEnvironment::systemEnvironment(), arguments)) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    if (!canOpenDisplay(QProcessEnvironment::systemEnvironment(), arguments)) {
        std::fputs("zentrel: cannot open the display\n", stderr);
        return 1;
    }
    ZentrelApp app(argc, argv);
    // Qt's own options are out of the arguments by now.
    const auto parsed = CommandLine().parse(QCoreApplication::arguments());
    if (const auto* invocation = std::get_if<Invocation>(&parsed)) {
        return app.run(*invocation);
    }
    return std::get<int>(parsed);
}

ZentrelApp::ZentrelApp(int& argc, char* argv[])
    : m_application(argc, argv) {
    nameApplication();
    QApplication::setDesktopFileName(AppIdentity::applicationId);
    QApplication::setQuitOnLastWindowClosed(false);
}

ZentrelApp::~ZentrelApp() = default;

int ZentrelApp::run(const Invocation& invocation) {
    if (invocation.command != Invocation::Command::Run && invocation.command != Invocation::Command::Show) {
        return Tool(invocation).run();
    }
    const QDBusConnection bus = QDBusConnection::sessionBus();
    // Exported before the name is claimed, so a caller that sees the name finds the object.
    m_service = std::make_unique<ZentrelService>(bus);
    m_singleInstance = std::make_unique<SingleInstance>(bus);
    if (!m_singleInstance->claim()) {
        return 0;
    }
    m_delegate = std::make_unique<AppDelegate>();
    m_service->serve(m_delegate->state());
    QObject::connect(m_service.get(), &ZentrelService::showPanelRequested, m_delegate.get(),
                     [this] { m_delegate->showPanel(); });
    m_delegate->applicationDidFinishLaunching();
    if (invocation.command == Invocation::Command::Show) {
        m_delegate->showPanel();
    }
    return QApplication::exec();
}
