#pragma once
// The application object: the one boundary where an error that no handler dealt with ends up.
#include <QApplication>

#include <functional>

namespace tintara {

class TintaraApplication : public QApplication {
public:
    TintaraApplication(int& argc, char** argv);

    // Every event handler of the program runs inside this call. An exception that leaves one is
    // reported with the standard error box and the program carries on; the event counts as unhandled.
    bool notify(QObject* receiver, QEvent* event) override;

    // How an error reaches the user: the standard error box unless replaced (the tests do).
    void setErrorReporter(std::function<void(const QString& message)> reporter);

    // The report of one error that left a handler; what the boundary does after catching it.
    void reportUnhandledError(const QString& message);

private:
    std::function<void(const QString& message)> reporter_;
    bool reporting_ = false;
};

} // namespace tintara
