#pragma once

#include <QApplication>
#include <memory>

class AppDelegate;
class SingleInstance;
class ZentrelService;
struct Invocation;

// The process: the Qt application with no window of its own, the single-instance guard, its
// interface on the session bus, and the delegate that runs everything else.
class ZentrelApp {
public:
    // Runs what the command line asks for to its end: Zentrel itself, after choosing the
    // platform, or one of the short-lived commands; the process's exit code.
    static int main(int argc, char* argv[]);

    ZentrelApp(int& argc, char* argv[]);
    ~ZentrelApp();
    ZentrelApp(const ZentrelApp&) = delete;
    ZentrelApp& operator=(const ZentrelApp&) = delete;

    int run(const Invocation& invocation);

private:
    QApplication m_application;
    std::unique_ptr<SingleInstance> m_singleInstance;
    std::unique_ptr<AppDelegate> m_delegate;
    // Declared after the delegate so that it goes first: it reads the delegate's model.
    std::unique_ptr<ZentrelService> m_service;
};
