// Tintara's entry: the application object, its title, the main window and the message loop.
#include "app/Main.h"
#include "app/Application.h"
#include "app/core/ConfigLocation.h"
#include "app/core/DisplaySession.h"
#include "platform/X11Platform.h"

#include <QApplication>
#include <QColorDialog>
#include <QDirIterator>
#include <QIcon>
#include <QInputDialog>
#include <QMessageBox>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[0], &c, 1);
}

bool askFourK(QWidget* window)
{
    // The caption is the application title, which the first refresh has already set.
    const QString caption = window->windowIconText().isEmpty() ? QStringLiteral("Tintara") : window->windowIconText();
    QMessageBox box(QMessageBox::NoIcon, caption,
                    QStringLiteral("Welcome to Tintara!\nBefore we begin, are you using a 4K monitor?"),
                    QMessageBox::Yes | QMessageBox::No); // no parent: centred on the screen, before the window shows
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> inputBox(QWidget* parent, const QString& prompt, const QString& text)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Tintara"));
    dialog.setLabelText(prompt);
    dialog.setTextValue(text);
    dialog.setInputMode(QInputDialog::TextInput);
    if (auto* edit = dialog.findChild<QLineEdit*>())
        edit->setMaxLength(255);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue().left(255);
}

std::optional<tintara::TColor> chooseColor(QWidget* parent, tintara::TColor initial)
{
    const QColor start(tintara::redOf(initial), tintara::greenOf(initial), tintara::blueOf(initial));
    const QColor c = QColorDialog::getColor(start, parent);
    if (!c.isValid())
        return std::nullopt;
    return tintara::rgbColor(c.red(), c.green(), c.blue());
}

void showError(QWidget* parent, const QString& message)
{
    QMessageBox::critical(parent, QStringLiteral("Tintara"), message);
}

std::string_view environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The installed theme's icon when there is one, else the sizes built into the executable.
QIcon applicationIcon()
{
    QIcon builtIn;
    QDirIterator it(QStringLiteral(":/icons"), QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (file.endsWith(QLatin1String(".png")))
            builtIn.addFile(file);
    }
    return QIcon::fromTheme(QStringLiteral(TINTARA_APP_ID), builtIn);
}

} // namespace

int main(int argc, char** argv)
{
    const tintara::DisplaySessionChoice session =
        tintara::chooseDisplaySession({environment("XDG_SESSION_TYPE"), environment("WAYLAND_DISPLAY"),
                                       environment("DISPLAY"), environment("QT_QPA_PLATFORM")});
    if (session.forceXcb)
        qputenv("QT_QPA_PLATFORM", "xcb"); // sampling goes through X11, so the window must be an X client
    if (session.wayland)
        std::fprintf(stderr, "Tintara: %s\n", tintara::kWaylandNotice.data());
    if (session.noXDisplay) {
        std::fprintf(stderr, "Tintara: %s\n", tintara::kNoXDisplayNotice.data());
        return 1;
    }

    tintara::TintaraApplication app(argc, argv); // errors that leave a handler end up in its error box
    // The application title lives in the window (its caption and icon text): a display name would
    // make Qt append " — Tintara" to every window title.
    QCoreApplication::setApplicationName(QStringLiteral("Tintara"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tintara"));
    QGuiApplication::setQuitOnLastWindowClosed(true);
    // The desktop entry's name ties the window to its menu entry and icon (Wayland app id, docks).
    QGuiApplication::setDesktopFileName(QStringLiteral(TINTARA_APP_ID));
    QApplication::setWindowIcon(applicationIcon());

    const std::filesystem::path exeDir = QCoreApplication::applicationDirPath().toStdString();
    const std::filesystem::path userDir =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
    const std::filesystem::path dir = tintara::chooseConfigFolder(exeDir, userDir);

    auto platform = tintara::createPlatformServices();
    tintara::MainWindowEnvironment env;
    env.platform = platform.get();
    env.settingsPath = dir / tintara::kSettingsFileName;
    env.palettePath = dir / tintara::kPaletteFileName;
    env.askFourK = askFourK;
    env.inputBox = inputBox;
    env.chooseColor = chooseColor;
    env.showError = showError;

    tintara::TfrmMain window(std::move(env));
    if (session.wayland)
        window.setSessionNotice(
            QString::fromUtf8(tintara::kWaylandNotice.data(), static_cast<qsizetype>(tintara::kWaylandNotice.size())));

    // The desktop ending (logout, SIGTERM) closes the window the ordinary way, so nothing is lost.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
            char c;
            [[maybe_unused]] const auto n = ::read(signalPipe[1], &c, 1);
            window.closeForSession();
        });
        struct sigaction sa {};
        sa.sa_handler = onTerminate;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &sa, nullptr);
        ::sigaction(SIGHUP, &sa, nullptr);
        ::sigaction(SIGINT, &sa, nullptr);
    }
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.closeForSession(); });

    // --tab=NAME (Hex, Rainbow, Hue or Sliders) shows that mixer tab at start-up instead of Hex, so each
    // tab's cost can be measured on the real program.
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        QString name;
        if (args[i].startsWith(QLatin1String("--tab=")))
            name = args[i].mid(6);
        else if (args[i] == QLatin1String("--tab") && i + 1 < args.size())
            name = args[++i];
        else
            continue;
        if (!window.showMixerTab(name))
            std::fprintf(stderr, "Tintara: no mixer tab \"%s\"\n", qPrintable(name));
    }

    window.show();
    return QApplication::exec();
}
