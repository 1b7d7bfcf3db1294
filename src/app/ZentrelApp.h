#pragma once

#include <QApplication>
#include <memory>

class AppDelegate;
class SingleInstance;

// The process: the Qt application with no window of its own, the single-instance guard, and
// the delegate that runs everything else.
class ZentrelApp {
public:
    // Chooses the platform, then runs the application to its end; the process's exit code.
    static int main(int argc, char* argv[]);

    ZentrelApp(int& argc, char* argv[]);
    ~ZentrelApp();
    ZentrelApp(const ZentrelApp&) = delete;
    ZentrelApp& operator=(const ZentrelApp&) = delete;

    int run();

private:
    QApplication m_application;
    std::unique_ptr<SingleInstance> m_singleInstance;
    std::unique_ptr<AppDelegate> m_delegate;
};
