#include "app/Main.h"

#include "app/core/AtomicFile.h"
#include "palettes/PaletteRules.h"

#include <QComboBox>

#include <stdexcept>
#include <string>

// The palette handlers: choosing, creating, renaming and deleting palettes, storing the locked chips.

namespace tintara {

namespace {

constexpr char kErrorItem[] = "Error loading Palettes.xml";

} // namespace

bool TfrmMain::guardedPalette(const std::function<void()>& steps)
{
    try {
        if (!paletteDocument_)
            throw std::runtime_error("no palette document");
        steps();
        return true;
    } catch (const std::exception&) {
        ShowPaletteError();
        return false;
    }
}

void TfrmMain::ShowPaletteError()
{
    cboPalettes->clear();
    cboPalettes->addItem(QLatin1String(kErrorItem));
    cboPalettes->setCurrentIndex(0);
    if (!paletteReadError_.isEmpty()) {
        // Without a document the error item stays for the whole run, so the closed list shows why too.
        cboPalettes->setItemData(0, paletteReadError_, Qt::ToolTipRole);
        cboPalettes->setToolTip(paletteReadError_);
    }
}

void TfrmMain::LoadPaletteList()
{
    guardedPalette([this] {
        cboPalettes->clear();
        for (const std::string& name : paletteNames(*paletteDocument_))
            cboPalettes->addItem(QString::fromStdString(name));
        if (cboPalettes->count() > 0)
            cboPalettes->setCurrentIndex(0);
        LoadPaletteIntoChips();
    });
}

void TfrmMain::LoadPaletteIntoChips()
{
    guardedPalette([this] {
        ClearChips();
        const PaletteLoadResult result = loadPalette(*paletteDocument_, cboPalettes->currentText().toStdString());
        for (const PaletteChipColor& entry : result.colors) {
            SelectChip(entry.chip);
            chips_.setCurrentColor(entry.color);
            SetChipLocked(true);
        }
        SelectChip(result.currentChip);
        if (!result.ok())
            throw std::runtime_error(*result.error);
    });
}

void TfrmMain::StoreChipsInPalette()
{
    guardedPalette(
        [this] { storeColors(*paletteDocument_, cboPalettes->currentText().toStdString(), chips_.lockedColors()); });
}

bool TfrmMain::SavePaletteFile()
{
    if (!paletteDocument_) {
        ShowPaletteError(); // nothing to write; an existing file stays as it is
        return true;
    }
    std::string error;
    std::string bytes;
    if (!guardedPalette([&] { bytes = paletteDocument_->serialize(); }))
        return true; // the serialiser failed: the error item shows, and the file is left as it was
    if (!writeFileAtomically(env_.palettePath, bytes, &error)) {
        if (env_.showError)
            env_.showError(this, QString::fromStdString(error));
        return false;
    }
    return true;
}

void TfrmMain::cboPalettesEnter()
{
    StoreChipsInPalette();
    SavePaletteFile();
}

void TfrmMain::cboPalettesChange()
{
    LoadPaletteIntoChips();
    focusFirstChip();
}

void TfrmMain::cmdNewClick()
{
    StoreChipsInPalette();
    if (!SavePaletteFile())
        return;
    const std::optional<QString> text =
        env_.inputBox ? env_.inputBox(this, QStringLiteral("Enter a name for the new Palette"), QString())
                      : std::nullopt;
    if (!text)
        return;
    QString name = QString::fromStdString(paletteNameFromInput(text->toStdString()));
    guardedPalette([&] { newPalette(*paletteDocument_, text->toStdString()); });
    if (!SavePaletteFile())
        return;
    cboPalettes->addItem(name);
    cboPalettes->setCurrentIndex(cboPalettes->count() - 1);
    ClearChips();
    focusFirstChip();
}

void TfrmMain::cmdEditClick()
{
    const QString selected = cboPalettes->currentText();
    const std::optional<QString> text =
        env_.inputBox ? env_.inputBox(this, QStringLiteral("Enter a new name for the Palette"), selected)
                      : std::nullopt;
    if (cboPalettes->currentIndex() < 0) {
        focusFirstChip(); // nothing selected: nothing to rename, and the list stays as it was
        return;
    }
    QString shown = selected;
    if (text) {
        guardedPalette([&] { renamePalettes(*paletteDocument_, selected.toStdString(), text->toStdString()); });
        if (!SavePaletteFile())
            return;
        shown = QString::fromStdString(paletteNameFromInput(text->toStdString()));
    }
    cboPalettes->setItemText(cboPalettes->currentIndex(), shown);
    cboPalettes->setCurrentIndex(cboPalettes->currentIndex());
    focusFirstChip();
}

void TfrmMain::cmdDeleteClick()
{
    StoreChipsInPalette();
    if (!SavePaletteFile())
        return;
    guardedPalette([this] { deletePalettes(*paletteDocument_, cboPalettes->currentText().toStdString()); });
    if (!SavePaletteFile())
        return;
    LoadPaletteList();
    focusFirstChip();
}

} // namespace tintara
