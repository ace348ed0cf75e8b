#include "app/Application.h"

#include <QMessageBox>

#include <cstdio>
#include <exception>

namespace tintara {

TintaraApplication::TintaraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TintaraApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportUnhandledError(QString::fromUtf8(e.what()));
    } catch (...) {
        reportUnhandledError(QStringLiteral("An unexpected error occurred."));
    }
    return false;
}

void TintaraApplication::setErrorReporter(std::function<void(const QString& message)> reporter)
{
    reporter_ = std::move(reporter);
}

void TintaraApplication::reportUnhandledError(const QString& message)
{
    // The box runs its own event loop, in which a handler (a repaint, say) may fail again: one box
    // at a time, the rest go to stderr, rather than a stack of boxes that never ends.
    if (reporting_) {
        std::fprintf(stderr, "Tintara: %s\n", message.toLocal8Bit().constData());
        return;
    }
    reporting_ = true;
    try {
        if (reporter_)
            reporter_(message);
        else
            QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Tintara"), message);
    } catch (...) {
        std::fprintf(stderr, "Tintara: %s\n", message.toLocal8Bit().constData());
    }
    reporting_ = false;
}

} // namespace tintara
