// The palette list's context menu: a palette out to, and in from, the files other programs use.
#include "app/Main.h"

#include "app/core/AtomicFile.h"
#include "palettes/PaletteExchange.h"
#include "palettes/PaletteRules.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

#include <algorithm>
#include <array>
#include <filesystem>

namespace tintara {

namespace {

// No palette comes near this; a bigger file is something else and is not read into memory.
constexpr qint64 kMaxImportMegabytes = 16;
constexpr qint64 kMaxImportBytes = kMaxImportMegabytes * 1024 * 1024;

struct ExportChoice {
    const char* filter;
    PaletteFormat format;
};
constexpr std::array<ExportChoice, 4> kExportChoices{{
    {"GIMP palette (*.gpl)", PaletteFormat::Gpl},
    {"Adobe Swatch Exchange (*.ase)", PaletteFormat::Ase},
    {"CSS custom properties (*.css)", PaletteFormat::Css},
    {"Colour list (*.txt)", PaletteFormat::HexList},
}};

QStringList exportFilters()
{
    QStringList filters;
    for (const ExportChoice& c : kExportChoices)
        filters << QString::fromLatin1(c.filter);
    return filters;
}

QStringList importFilters()
{
    return {QStringLiteral("Palettes (*.gpl *.ase *.txt *.hex)"), QStringLiteral("GIMP palette (*.gpl)"),
            QStringLiteral("Adobe Swatch Exchange (*.ase)"), QStringLiteral("Colour list (*.txt *.hex)"),
            QStringLiteral("All files (*)")};
}

// Where the next dialog opens: where the last one was left, for this run.
QString& lastFolder()
{
    static QString folder;
    return folder;
}

// Qt's own dialog rather than the desktop's: it looks the same everywhere and a test can type into it.
std::optional<std::pair<QString, int>> qtFileDialog(QWidget* parent, bool save, const QStringList& filters,
                                                    const QString& suggestedName)
{
    QFileDialog dialog(parent, save ? QStringLiteral("Export Palette") : QStringLiteral("Import Palette"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.setDirectory(lastFolder().isEmpty() ? QDir::homePath() : lastFolder());
    if (save) {
        // The dialog adds the chosen filter's extension to a bare name, so its overwrite question is
        // asked about the file that will really be written.
        auto suffixOf = [&](const QString& filter) {
            const int i = static_cast<int>(filters.indexOf(filter));
            return i >= 0 && i < static_cast<int>(kExportChoices.size())
                       ? QString::fromLatin1(extensionOf(kExportChoices[static_cast<std::size_t>(i)].format).substr(1))
                       : QString();
        };
        dialog.setDefaultSuffix(suffixOf(filters.value(0)));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
        dialog.selectFile(suggestedName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastFolder() = dialog.directory().absolutePath();
    return std::pair{dialog.selectedFiles().constFirst(),
                     static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

// Whether `name` is a palette of the document, and so can be exported (not the error item).
bool isPaletteName(const PaletteDocument* doc, const std::string& name)
{
    if (!doc)
        return false;
    try {
        const std::vector<std::string> names = paletteNames(*doc);
        return std::find(names.begin(), names.end(), name) != names.end();
    } catch (const std::exception&) {
        return false;
    }
}

// Menu requests of the list: a right click opens the menu at the pointer, the menu key under the list.
class PaletteMenuRequests : public QObject {
public:
    PaletteMenuRequests(TfrmMain* window, QComboBox* list) : QObject(list), window_(window), list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != list_ || event->type() != QEvent::ContextMenu)
            return false;
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const QPoint at = menuEvent->reason() == QContextMenuEvent::Keyboard
                              ? list_->mapToGlobal(QPoint(0, list_->height()))
                              : menuEvent->globalPos();
        window_->cboPalettesContextMenu(at);
        return true;
    }

private:
    TfrmMain* window_;
    QComboBox* list_;
};

} // namespace

void TfrmMain::buildPaletteExchangeMenu()
{
    mnuPalettes = new QMenu(this);
    mnuPalettes->setObjectName(QStringLiteral("mnuPalettes"));
    mnuExportPalette = mnuPalettes->addAction(QStringLiteral("Export Palette\u2026"));
    mnuExportPalette->setObjectName(QStringLiteral("mnuExportPalette"));
    mnuImportPalette = mnuPalettes->addAction(QStringLiteral("Import Palette\u2026"));
    mnuImportPalette->setObjectName(QStringLiteral("mnuImportPalette"));
    // Queued: the dialog opens once the menu has closed and given the focus back.
    connect(
        mnuExportPalette, &QAction::triggered, this, [this] { exportPaletteClick(); }, Qt::QueuedConnection);
    connect(
        mnuImportPalette, &QAction::triggered, this, [this] { importPaletteClick(); }, Qt::QueuedConnection);
    cboPalettes->installEventFilter(new PaletteMenuRequests(this, cboPalettes));
}

void TfrmMain::cboPalettesContextMenu(const QPoint& globalPos)
{
    // Stored first, as entering the list does: the export then holds what the chips show.
    cboPalettesEnter();
    mnuExportPalette->setEnabled(cboPalettes->currentIndex() >= 0 &&
                                 isPaletteName(paletteDocument_.get(), cboPalettes->currentText().toStdString()));
    mnuImportPalette->setEnabled(paletteDocument_ != nullptr);
    mnuPalettes->popup(globalPos);
}

void TfrmMain::exportPaletteClick()
{
    const QString name = cboPalettes->currentText();
    if (cboPalettes->currentIndex() < 0 || !isPaletteName(paletteDocument_.get(), name.toStdString()))
        return;
    auto fail = [&](const QString& message) {
        if (env_.showError)
            env_.showError(this, message);
    };
    ExchangePalette palette{name.toStdString(), {}, {}};
    try {
        palette.colors = exportedColors(*paletteDocument_, palette.name);
    } catch (const std::exception& e) {
        fail(QStringLiteral("Cannot export \"%1\": %2.").arg(name, QString::fromStdString(e.what())));
        return;
    }
    QString suggested = name.trimmed();
    suggested.replace(QLatin1Char('/'), QLatin1Char('-'));
    if (suggested.isEmpty())
        suggested = QStringLiteral("palette");
    suggested += QStringLiteral(".gpl");
    const QStringList filters = exportFilters();
    const std::optional<std::pair<QString, int>> choice = env_.chooseFile
                                                              ? env_.chooseFile(this, true, filters, suggested)
                                                              : qtFileDialog(this, true, filters, suggested);
    if (!choice || choice->first.isEmpty())
        return;
    const int filter = choice->second;
    const PaletteFormat filterFormat = filter >= 0 && filter < static_cast<int>(kExportChoices.size())
                                           ? kExportChoices[static_cast<std::size_t>(filter)].format
                                           : PaletteFormat::Gpl;
    const ExportTarget target = exportTarget(choice->first.toStdString(), filterFormat);
    std::string error;
    if (!writeFileAtomically(std::filesystem::path(target.path), writePalette(target.format, palette), &error))
        fail(QString::fromStdString(error));
    focusFirstChip();
}

void TfrmMain::importPaletteClick()
{
    if (!paletteDocument_) {
        ShowPaletteError();
        return;
    }
    const QStringList filters = importFilters();
    const std::optional<std::pair<QString, int>> choice = env_.chooseFile
                                                              ? env_.chooseFile(this, false, filters, QString())
                                                              : qtFileDialog(this, false, filters, QString());
    if (!choice || choice->first.isEmpty())
        return;
    const QString path = choice->first;

    // Everything that can go wrong with the file is found before the document is touched.
    QString reason;
    ExchangePalette palette;
    QFile file(path);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(path.toStdString()), ec);
    if (std::filesystem::is_directory(status)) {
        reason = QStringLiteral("it is a folder");
    } else if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        reason = QStringLiteral("it is not a regular file"); // a pipe or a device could block the window
    } else if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    } else {
        // Read with a bound: the file may grow, or be something that never ends, while we read.
        const QByteArray bytes = file.read(kMaxImportBytes + 1);
        if (file.error() != QFileDevice::NoError) {
            reason = file.errorString();
        } else if (bytes.size() > kMaxImportBytes) {
            reason = QStringLiteral("it is far too large to be a palette (over %1 MB)").arg(kMaxImportMegabytes);
        } else {
            try {
                palette = readPaletteFile(path.toStdString(), std::string_view(bytes.constData(), bytes.size()));
            } catch (const std::exception& e) {
                reason = QString::fromStdString(e.what());
            }
        }
    }
    if (!reason.isEmpty()) {
        if (env_.showError)
            env_.showError(this, QStringLiteral("Cannot import \"%1\": %2.").arg(path, reason));
        return;
    }

    ImportedPalette added;
    if (!guardedPalette([&] { added = addImportedPalette(*paletteDocument_, palette); }))
        return;
    if (!SavePaletteFile()) {
        // The file keeps what it had, and so does the document: the palette that could not be saved goes.
        try {
            deletePalettes(*paletteDocument_, added.name);
        } catch (const std::exception&) {
        }
        return;
    }
    // The list is refilled rather than appended to, so that an error item it showed goes.
    guardedPalette([this] {
        cboPalettes->clear();
        for (const std::string& n : paletteNames(*paletteDocument_))
            cboPalettes->addItem(QString::fromStdString(n));
        cboPalettes->setCurrentIndex(cboPalettes->count() - 1);
    });
    LoadPaletteIntoChips();
    focusFirstChip();

    QStringList notice;
    if (added.dropped > 0)
        notice << QStringLiteral("\"%1\" holds the first %2 of the %3 colours in \"%4\"; a palette holds at most %2.")
                      .arg(QString::fromStdString(added.name), QString::number(added.kept),
                           QString::number(added.kept + added.dropped), path);
    for (const std::string& note : palette.notes)
        notice << QString::fromStdString(note) + QLatin1Char('.');
    if (notice.isEmpty())
        return;
    if (env_.showInfo)
        env_.showInfo(this, notice.join(QLatin1Char('\n')));
    else
        QMessageBox::information(this, QStringLiteral("Tintara"), notice.join(QLatin1Char('\n')));
}

} // namespace tintara
